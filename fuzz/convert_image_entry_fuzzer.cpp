// Arbitrary picture entries converted one after the other by the same converter, so
// that later pictures are drawn over canvases left by earlier ones of other sizes.
// Each written file is checked against the picture's header; the only fatal outcomes
// allowed are a canvas too large to hold and a PNG of width or height 0.
//
// Input: a mode byte (odd: PNG), then up to four records of a flags byte and a
// picture (16-bit length, then its bytes). Flags: bit 0 clears the canvas, bit 1
// draws without writing, bits 3 to 7 give the frame number plus one (-1 to 30).
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/convert/converter.h"
#include "engine/base/fatal_error.h"
#include "fuzz_support.h"
#include "engine/read/image_decoder.h"

namespace {

constexpr int kMaxPictures = 4;

std::uint64_t ImageBytes(const orv::fuzz::PictureSize& header)
{
    return (std::uint64_t{header.width} * 3 + 3) / 4 * 4 * header.height;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    namespace fs = std::filesystem;
    orv::fuzz::InputReader input(data, size);
    const fs::path out = orv::fuzz::ScratchDir() / "out";
    fs::remove_all(out);
    fs::create_directory(out);

    orv::SilentStatusView view;
    orv::Converter converter(view);
    converter.outDir = out.string() + "/";
    converter.options.outputMode = input.Byte() % 2 != 0 ? orv::AllPng : orv::AllBmp;
    const bool png = converter.options.outputMode == orv::AllPng;

    for (int i = 0; i < kMaxPictures && !input.empty(); ++i) {
        const std::uint8_t flags = input.Byte();
        const std::string_view bytes = input.Piece();
        const std::vector<std::uint8_t> picture(bytes.begin(), bytes.end());
        orv::ArchiveEntry entry;
        std::copy_n("pic.cg", 6, entry.name);
        entry.size = static_cast<std::uint32_t>(picture.size());
        const bool clearCanvas = (flags & 1) != 0;
        const bool renderOnly = (flags & 2) != 0;
        const std::int32_t frameNo = (flags >> 3) - 1;
        const std::string suffix = orv::fuzz::FrameSuffix(frameNo);

        const orv::fuzz::PictureSize header = orv::fuzz::PictureSizeOf(bytes);
        const bool drawn = header.type == orv::kFullPicture || header.type == orv::kRectPicture;
        const bool tooLarge = drawn && ImageBytes(header) > orv::kMaxScratchBytes;
        const bool emptyPng = drawn && png && !renderOnly && (header.width == 0 || header.height == 0);
        try {
            converter.ConvertImageEntry(picture.data(), entry, clearCanvas, renderOnly, frameNo);
        } catch (const orv::FatalError& error) {
            const std::string expected = tooLarge ? std::string(orv::fuzz::kMemoryError)
                : emptyPng                        ? orv::fuzz::PngError(converter.outDir + "pic" + suffix + ".png")
                                                  : std::string();
            orv::fuzz::Require(!expected.empty() && error.what() == expected);
            break;
        }
        orv::fuzz::Require(!tooLarge && !emptyPng);

        if (header.type == orv::kSkippedPicture || (drawn && renderOnly)) {
            orv::fuzz::Require(fs::is_empty(out));
        } else if (!drawn) {
            orv::fuzz::Require(orv::fuzz::ReadFile(out / ("pic.cg" + suffix)) == bytes);
        } else if (png) {
            orv::fuzz::Require(fs::is_regular_file(out / ("pic" + suffix + ".png")));
        } else {
            orv::fuzz::RequireBmp(out / ("pic" + suffix + ".bmp"), header.width, header.height);
        }
        fs::remove_all(out);
        fs::create_directory(out);
    }
    return 0;
}
