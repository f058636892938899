// Frames of a sprite sheet: its PNG cut along the rectangles its JSON index gives each
// frame, the index read as any JSON (saved again indented, compact or with its keys in
// another order).
#include <nlohmann/json.hpp>

#include "engine/base/scratch_buffer.h"
#include "engine/base/text.h"
#include "pack/files/file_bytes.h"
#include "pack/plan/folder_sources.h"
#include "pack/files/pack_error.h"
#include "pack/files/picture_file.h"
#include "pack/files/picture_limits.h"
#include "pack/played/played_frames.h"

namespace orv::pack {

namespace {

// orvconv-cli writes about 80 bytes a frame; the parsed index takes several times its size.
constexpr std::uint64_t kMaxIndexBytes = std::uint64_t{16} << 20;

struct FrameRecord {
    std::uint64_t number, x, y, width, height;
};

// Record k (from 1) of the index's "frames"; PackError naming it when a field is missing
// or no whole number of at least 0.
FrameRecord RecordOf(const nlohmann::json& record, std::size_t k, const std::string& indexShown)
{
    const std::string what = indexShown + ": record " + std::to_string(k) + " of \"frames\"";
    if (!record.is_object()) throw PackError(what + " is no object");
    const auto field = [&](const char* key) {
        const auto found = record.find(key);
        if (found == record.end() || !found->is_number_unsigned())
            throw PackError(what + " has no \"" + key + "\" that is a whole number of at least 0");
        return found->get<std::uint64_t>();
    };
    return {field("number"), field("x"), field("y"), field("width"), field("height")};
}

std::vector<FrameRecord> ReadIndex(const std::string& indexPath, const std::string& indexShown,
                                   const std::string& shown)
{
    const Bytes bytes = ReadFileBytes(indexPath, indexShown, kMaxIndexBytes);
    // Nothing nested deeper than a record's fields is kept: a file of nested lists takes
    // no more memory than its size.
    const auto fieldsAtMost
        = [](int depth, nlohmann::json::parse_event_t, const nlohmann::json&) { return depth <= 3; };
    const nlohmann::json index = nlohmann::json::parse(bytes.begin(), bytes.end(), fieldsAtMost, false);
    if (index.is_discarded()) throw PackError(indexShown + ": not JSON");
    const auto frames = index.is_object() ? index.find("frames") : index.end();
    if (frames == index.end() || !frames->is_array() || frames->empty())
        throw PackError(indexShown + ": names no frame of " + shown + " (no \"frames\" list of records)");
    std::vector<FrameRecord> records;
    for (std::size_t k = 0; k < frames->size(); ++k) records.push_back(RecordOf((*frames)[k], k + 1, indexShown));
    return records;
}

}  // namespace

std::vector<PlayedFrame> ReadSheetFrames(const std::string& path, const std::string& shown)
{
    const std::string indexPath = path.substr(0, path.size() - 4) + ".json";
    const std::string indexShown = EscapeControlBytes(indexPath);
    const Picture sheet = ReadPictureFile(path, shown);
    const std::vector<FrameRecord> records = ReadIndex(indexPath, indexShown, shown);
    std::vector<PlayedFrame> frames;
    std::uint64_t held = 0;
    for (const FrameRecord& record : records) {
        const std::string what = indexShown + ": frame " + std::to_string(record.number);
        if (record.number == 0 || record.number > kMaxFrameNumber
            || (!frames.empty() && record.number <= frames.back().number))
            throw PackError(what + " is not numbered after the frame before it, up to "
                            + std::to_string(kMaxFrameNumber));
        if (record.width > sheet.width || record.x > sheet.width - record.width || record.height > sheet.height
            || record.y > sheet.height - record.height)
            throw PackError(what + " lies outside the sheet");
        auto picture = std::make_shared<Picture>(BlankPicture(record.width, record.height, what));
        held += picture->bgr.size();
        if (held > kMaxScratchBytes)
            throw PackError(indexShown + ": its frames would take more than " + std::to_string(kMaxScratchBytes >> 20)
                            + " MiB");
        for (std::uint64_t row = 0; row < record.height; ++row) {
            const std::size_t from = ((record.y + row) * sheet.width + record.x) * 3;
            std::copy_n(&sheet.bgr[from], record.width * 3, &picture->bgr[row * record.width * 3]);
        }
        frames.push_back({static_cast<std::uint32_t>(record.number), std::move(picture)});
    }
    return frames;
}

}  // namespace orv::pack
