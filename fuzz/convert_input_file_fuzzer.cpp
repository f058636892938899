// Arbitrary bytes as an input file, converted into a scratch output folder and read as
// orvconv-cli --list reads it, through the engine's reader. Whatever the bytes, nothing may be written beside
// that folder, and no entry may make the converter hold more memory than the file has
// bytes (or one sound chunk).
//
// Input: a control byte, then the file. Control bits: 0 makes the file an animation
// (.ani) instead of a pack archive (.dat), 1 writes PNG, 2 copies animation entries raw.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>

#include "engine/base/fatal_error.h"
#include "engine/convert/converter.h"
#include "engine/read/reader.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    namespace fs = std::filesystem;
    orv::fuzz::InputReader input(data, size);
    const std::uint8_t control = input.Byte();
    const std::string_view file = input.Rest();

    const fs::path& work = orv::fuzz::ScratchDir();
    const fs::path exeDir = work / "exe";
    const fs::path path = work / ((control & 1) != 0 ? "input.ani" : "input.dat");
    fs::remove_all(exeDir);
    fs::create_directory(exeDir);
    orv::fuzz::WriteFile(path, file);

    orv::SilentStatusView view;
    orv::Converter converter(view);
    converter.options.exeDir = exeDir.string() + "/";
    converter.srcPath = path.string();
    converter.options.outputMode = (control & 2) != 0 ? orv::AllPng : orv::AllBmp;
    converter.options.aniRaw = (control & 4) != 0;
    try {
        converter.ConvertInputFile();
    } catch (const orv::FatalError&) {
        // A fatal outcome is a valid end for hostile input.
    }
    try {
        // The table, or an animation's frame offsets: what a listing shows.
        const std::shared_ptr<const orv::Input> opened = orv::OpenInput(path.string());
        if (opened && opened->kind() == orv::InputKind::Animation) orv::Reader(opened).FrameOffsets(0);
    } catch (const orv::FatalError&) {
        // Likewise for the reader, which reads the tables as a conversion does.
    }

    for (const auto& item : fs::directory_iterator(work))
        orv::fuzz::Require(item.path() == exeDir || item.path() == path);
    for (const auto& item : fs::directory_iterator(exeDir))
        orv::fuzz::Require(item.path().filename() == "input" && item.is_directory());
    if (fs::exists(exeDir / "input")) {
        for (const auto& item : fs::directory_iterator(exeDir / "input")) orv::fuzz::Require(item.is_regular_file());
    }
    orv::fuzz::Require(converter.dataBlockBytes() <= std::max<std::size_t>(file.size(), orv::kSoundStreamThreshold));
    fs::remove(path);
    return 0;
}
