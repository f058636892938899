// Arbitrary animation data converted under an arbitrary settings file. Every file
// written must be a frame of this animation: a picture named after a frame number the
// table holds, of the size its header gives, or the raw copy of a frame that is no
// picture, holding the bytes from that frame's offset to the end of the data; or, when
// the frames become one file, that file.
//
// Input: a mode byte (odd: PNG; bits 1 and 2: frames, webp, gif, sheet), the settings
// text (16-bit length, then its bytes), then the animation data. The animation is named
// anim.ani.
#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/convert/converter.h"
#include "engine/base/fatal_error.h"
#include "fuzz_support.h"
#include "engine/read/image_decoder.h"
#include "settings/settings_file.h"

using namespace std::string_view_literals;

namespace {

constexpr std::string_view kName = "anim.ani";
constexpr std::string_view kStem = "anim_";
constexpr std::string_view kRawStem = "anim.ani_";
constexpr std::uint64_t kMaxFramePixels = 1u << 16;

// The frame number of an output name made of prefix, four or more digits and suffix;
// 0 for any other name.
std::uint32_t FrameNumberOf(std::string_view name, std::string_view prefix, std::string_view suffix)
{
    if (name.size() < prefix.size() + suffix.size() + 4 || !name.starts_with(prefix) || !name.ends_with(suffix))
        return 0;
    const std::string_view digits = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    std::uint32_t number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size()) return 0;
    return number;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    namespace fs = std::filesystem;
    using orv::fuzz::Require;
    orv::fuzz::InputReader input(data, size);
    const std::uint8_t mode = input.Byte();
    const bool png = mode % 2 != 0;
    const auto output = static_cast<orv::AnimationOutput>(mode >> 1 & 3);
    const std::vector<std::string_view> oneFile = output == orv::AnimationOutput::Webp ? std::vector{"anim.webp"sv}
        : output == orv::AnimationOutput::Gif                                          ? std::vector{"anim.gif"sv}
        : output == orv::AnimationOutput::Sheet ? std::vector{"anim_sheet.png"sv, "anim_sheet.json"sv}
                                                : std::vector<std::string_view>{};
    const auto settings = orv::SettingsFile::FromBytes(std::string(input.Piece()));
    const std::string_view rest = input.Rest();
    const std::vector<std::uint8_t> animation(rest.begin(), rest.end());
    const auto total = static_cast<std::uint32_t>(animation.size());

    // The table as the data gives it, read here on its own.
    const std::uint32_t frames = total < 4 ? 0 : std::min(orv::fuzz::Le32At(rest, 0) / 4, total / 4);
    const auto frameAt = [&](std::uint32_t number) -> std::string_view {
        Require(number >= 1 && number <= frames);
        const std::uint32_t offset = orv::fuzz::Le32At(rest, std::size_t{4} * (number - 1));
        Require(offset < total);
        return rest.substr(offset);
    };
    // Large frames (or many empty rows) add time, not paths; a frame too large to hold
    // is kept for its error.
    for (std::uint32_t number = 1; number <= frames; ++number) {
        if (orv::fuzz::Le32At(rest, std::size_t{4} * (number - 1)) >= total) continue;
        const orv::fuzz::PictureSize header = orv::fuzz::PictureSizeOf(frameAt(number));
        const std::uint64_t pixels = std::uint64_t{header.width} * header.height;
        if (pixels + header.height > kMaxFramePixels && pixels * 3 <= orv::kMaxScratchBytes) return 0;
    }

    const fs::path out = orv::fuzz::ScratchDir() / "out";
    fs::remove_all(out);
    fs::create_directory(out);
    orv::SilentStatusView view;
    orv::Converter converter(view);
    converter.outDir = out.string() + "/";
    converter.options.outputMode = png ? orv::AllPng : orv::AllBmp;
    converter.options.animation = output;
    converter.options.iniFile = settings.get();
    orv::ArchiveEntry entry;
    std::copy_n(kName.data(), kName.size(), entry.name);
    entry.size = total;

    try {
        converter.ConvertAnimation(animation.data(), entry);
    } catch (const orv::FatalError& error) {
        // A frame too large to hold, or an empty picture as PNG; the path is the frame's.
        // A WebP canvas wider or taller than the format allows.
        const std::string_view text = error.what();
        Require(text == orv::fuzz::kMemoryError || (png && text.starts_with("PNG出力エラー！\n"))
                || (output == orv::AnimationOutput::Webp && text.starts_with("ファイル書き込みエラー！\n")));
    }

    for (const auto& item : fs::directory_iterator(out)) {
        const std::string name = item.path().filename().string();
        if (std::find(oneFile.begin(), oneFile.end(), name) != oneFile.end()) continue;
        if (const std::uint32_t raw = FrameNumberOf(name, kRawStem, "")) {
            Require(orv::fuzz::ReadFile(item.path()) == frameAt(raw));
            continue;
        }
        const std::uint32_t number = FrameNumberOf(name, kStem, png ? ".png" : ".bmp");
        const orv::fuzz::PictureSize header = orv::fuzz::PictureSizeOf(frameAt(number));
        Require(header.type == orv::kFullPicture || header.type == orv::kRectPicture);
        if (!png) orv::fuzz::RequireBmp(item.path(), header.width, header.height);
    }
    return 0;
}
