#pragma once

#include <benchmark/benchmark.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <system_error>
#include <unistd.h>

#include "tools/cg_encoder.h"
#include "engine/convert/converter.h"
#include "engine/base/fatal_error.h"
#include "tools/pack_writer.h"

namespace orv::bench {

// A fresh folder under the system's temporary folder, removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder() : path_((std::filesystem::temp_directory_path() / "orvconv-bench-XXXXXX").string())
    {
        if (::mkdtemp(path_.data()) == nullptr) path_.clear();
    }
    ~ScratchFolder()
    {
        if (!path_.empty()) std::filesystem::remove_all(path_);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    bool Made() const { return !path_.empty(); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// The 128 colours the benchmark scenes are painted with.
inline void FillScenePalette(tools::CgPicture& picture)
{
    for (int i = 0; i < 128; ++i) {
        picture.palette[3 * i] = static_cast<std::uint8_t>(i * 2);
        picture.palette[3 * i + 1] = static_cast<std::uint8_t>(255 - i);
        picture.palette[3 * i + 2] = static_cast<std::uint8_t>((i * 37) & 0xFF);
    }
}

// Writes `input` as the file `name` in a scratch folder and converts it once per
// iteration, as a front end would, into an output root beside it. Every iteration
// writes the same output files again; the counter output_files tells how many.
inline void ConvertEachIteration(benchmark::State& state, const std::string& name, const tools::Bytes& input,
                                 OutputMode mode)
{
    ScratchFolder folder;
    const std::string outputRoot = folder.Path() + "/out/";
    const std::string inputPath = folder.Path() + "/" + name;
    if (!folder.Made() || !std::filesystem::create_directory(outputRoot) || !tools::WriteFileBytes(inputPath, input)) {
        state.SkipWithError("cannot write the input file");
        return;
    }
    SilentStatusView view;
    Converter converter(view);
    converter.options.exeDir = outputRoot;
    converter.srcPath = inputPath;
    converter.options.outputMode = mode;
    try {
        for (auto _ : state) {
            if (converter.ConvertInputFile() != ConvertResult::Finished) {
                state.SkipWithError("the conversion did not finish");
                break;
            }
        }
    } catch (const FatalError& error) {
        state.SkipWithError(error.what());
    }
    // Shows at a glance whether the input was converted or only copied.
    std::error_code noFolder;
    state.counters["output_files"] = static_cast<double>(std::distance(
        std::filesystem::directory_iterator(converter.outDir, noFolder), std::filesystem::directory_iterator()));
}

}  // namespace orv::bench
