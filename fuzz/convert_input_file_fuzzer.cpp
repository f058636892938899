// Arbitrary bytes as a pack archive (first byte even) or an animation file (odd),
// converted into a scratch output folder that is emptied after every input.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "converter.h"
#include "fatal_error.h"

namespace {

const std::filesystem::path& WorkDir()
{
    static const std::filesystem::path dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvconv-fuzz-XXXXXX").string();
        return std::filesystem::path(::mkdtemp(pattern.data()));
    }();
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto& work = WorkDir();
    const auto output = work / "out";
    std::filesystem::create_directory(output);
    const auto input = work / (size > 0 && data[0] % 2 ? "input.ani" : "input.dat");
    {
        std::ofstream file(input, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }

    orv::SilentStatusView view;
    orv::Converter converter(view);
    converter.exeDir = output.string() + "/";
    converter.srcPath = input.string();
    try {
        converter.ConvertInputFile();
    } catch (const orv::FatalError&) {
        // A fatal outcome is a valid end for hostile input.
    }
    // Nothing may be written beside the output folder.
    for (const auto& item : std::filesystem::directory_iterator(work)) {
        const auto name = item.path().filename();
        if (name != "out" && name != input.filename()) __builtin_trap();
    }
    std::filesystem::remove_all(output);
    std::filesystem::remove(input);
    return 0;
}
