// Converting a pack archive holding one sound entry of 50 MB (stereo, 44100 Hz).
#include <benchmark/benchmark.h>

#include <cstddef>

#include "convert_support.h"
#include "tools/sound_writer.h"

namespace {

constexpr std::size_t kSampleBytes = std::size_t{50} << 20;
constexpr std::uint32_t kEntryOffset = 6 + 24;  // after the header and the one-record table

orv::tools::Bytes SoundArchive()
{
    const orv::tools::Bytes entry = orv::tools::BuildSoundEntry(
        orv::kSoundStereo44100, orv::tools::SineSamples(44100, kSampleBytes / 4, {{440.0}, {660.0}}, 8000.0, 441));
    // The archive is put together by hand so that the entry is not copied once more.
    orv::tools::Bytes archive = orv::tools::PackHeader(1);
    orv::tools::AppendRecord(archive, "music10.pcm", kEntryOffset, static_cast<std::uint32_t>(entry.size()));
    archive.insert(archive.end(), entry.begin(), entry.end());
    return archive;
}

void BM_ConvertSound(benchmark::State& state)
{
    const orv::tools::Bytes archive = SoundArchive();
    orv::bench::ConvertEachIteration(state, "sound.dat", archive, orv::AllBmp);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(archive.size() - kEntryOffset));
}
// Real time: the output file is written through the file system.
BENCHMARK(BM_ConvertSound)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
