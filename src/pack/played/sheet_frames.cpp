// Frames of a sprite sheet: its PNG cut along the rectangles its JSON gives each frame.
#include <regex>

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

// The JSON orvconv-cli writes is small: a line of about 80 bytes a frame.
constexpr std::uint64_t kMaxIndexBytes = std::uint64_t{64} << 20;

std::uint64_t Number(const std::ssub_match& digits)
{
    // Nine digits at most (the pattern's bound), so no overflow.
    return std::stoull(digits.str());
}

}  // namespace

std::vector<PlayedFrame> ReadSheetFrames(const std::string& path, const std::string& shown)
{
    const std::string indexPath = path.substr(0, path.size() - 4) + ".json";
    const std::string indexShown = EscapeControlBytes(indexPath);
    const Bytes bytes = ReadFileBytes(indexPath, indexShown, kMaxIndexBytes);
    const std::string index(bytes.begin(), bytes.end());
    const Picture sheet = ReadPictureFile(path, shown);
    static const std::regex frame(
        R"re(\{"number": (\d{1,9}), "x": (\d{1,9}), "y": (\d{1,9}), "width": (\d{1,9}), "height": (\d{1,9})\})re");
    std::vector<PlayedFrame> frames;
    std::uint64_t held = 0;
    for (auto match = std::sregex_iterator(index.begin(), index.end(), frame); match != std::sregex_iterator();
         ++match) {
        const std::uint64_t number = Number((*match)[1]);
        const std::uint64_t x = Number((*match)[2]);
        const std::uint64_t y = Number((*match)[3]);
        const std::uint64_t width = Number((*match)[4]);
        const std::uint64_t height = Number((*match)[5]);
        const std::string what = indexShown + ": frame " + std::to_string(number);
        if (number == 0 || number > kMaxFrameNumber || (!frames.empty() && number <= frames.back().number))
            throw PackError(what + " is not numbered after the frame before it, up to "
                            + std::to_string(kMaxFrameNumber));
        if (x + width > sheet.width || y + height > sheet.height) throw PackError(what + " lies outside the sheet");
        auto picture = std::make_shared<Picture>(BlankPicture(width, height, what));
        held += picture->bgr.size();
        if (held > kMaxScratchBytes)
            throw PackError(indexShown + ": its frames would take more than " + std::to_string(kMaxScratchBytes >> 20)
                            + " MiB");
        for (std::uint64_t row = 0; row < height; ++row) {
            const std::size_t from = ((y + row) * sheet.width + x) * 3;
            std::copy_n(&sheet.bgr[from], width * 3, &picture->bgr[row * width * 3]);
        }
        frames.push_back({static_cast<std::uint32_t>(number), std::move(picture)});
    }
    if (frames.empty()) throw PackError(indexShown + ": names no frame of " + shown);
    return frames;
}

}  // namespace orv::pack
