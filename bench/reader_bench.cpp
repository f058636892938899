// The reader on an archive of 65,535 entries: opening it, reading its last entry first
// (an animation whose second frame shows what earlier entries left in the canvas block),
// and reading every entry in order.
//   typical: 64x64 pictures, every hundredth entry an animation; the picture just before
//            the last entry sets every byte the animation reads, so the block is rebuilt
//            from that one picture;
//   worst:   the same, but every picture smaller than what the animation reads: the block
//            is rebuilt from the first picture of the archive, all of them drawn again.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <filesystem>
#include <string>
#include <unistd.h>

#include "engine/read/reader.h"
#include "tools/ani_writer.h"
#include "tools/cg_encoder.h"
#include "tools/pack_writer.h"

namespace {

constexpr int kEntries = 65535;

orv::tools::Bytes Picture(int side, int seed)
{
    orv::tools::CgPicture picture;
    picture.width = static_cast<std::uint16_t>(side);
    picture.height = static_cast<std::uint16_t>(side);
    picture.right = picture.width;
    picture.bottom = picture.height;
    for (std::size_t i = 0; i < picture.palette.size(); ++i) picture.palette[i] = static_cast<std::uint8_t>(i + seed);
    for (int p = 0; p < side * side; ++p) picture.pixels.push_back(static_cast<std::uint8_t>((p / 7 + seed) % 100));
    return orv::tools::EncodeCg(picture);
}

// An animation whose second frame, larger than its first, draws one pixel over the block.
orv::tools::Bytes GrowingAnimation(int side)
{
    orv::tools::CgPicture second;
    second.type = 2;
    second.width = static_cast<std::uint16_t>(side);
    second.height = static_cast<std::uint16_t>(side);
    second.right = 1;
    second.bottom = 1;
    second.pixels.assign(std::size_t(side) * side, 1);
    return orv::tools::BuildAnimation({Picture(4, 1), orv::tools::EncodeCg(second, {}, orv::pack::Canvas::Unknown)});
}

const std::string& ArchivePath(bool worst)
{
    static std::string paths[2];
    std::string& path = paths[worst ? 1 : 0];
    if (!path.empty()) return path;
    path = (std::filesystem::temp_directory_path()
            / ("orvconv-reader-bench-" + std::to_string(::getpid()) + (worst ? "-worst.dat" : "-typical.dat")))
               .string();
    const orv::tools::Bytes picture = Picture(worst ? 32 : 64, 3);
    const orv::tools::Bytes animation = GrowingAnimation(48);
    std::vector<orv::tools::PackItem> items;
    items.push_back({"first.cg", Picture(64, 5)});  // makes the block as large as any later picture
    for (int i = 1; i < kEntries; ++i) {
        const bool isAnimation = i % 100 == 0 || i == kEntries - 1;
        items.push_back({std::to_string(i) + (isAnimation ? ".ani" : ".cg"), isAnimation ? animation : picture});
    }
    orv::tools::WriteFileBytes(path, orv::tools::BuildPack(items));
    return path;
}

void BM_OpenArchive(benchmark::State& state)
{
    const std::string& path = ArchivePath(false);
    for (auto _ : state) {
        benchmark::DoNotOptimize(orv::OpenInput(path));
    }
}

void BM_LastEntryFirst(benchmark::State& state)
{
    const std::string& path = ArchivePath(state.range(0) != 0);
    std::size_t held = 0;
    for (auto _ : state) {
        const std::size_t before = ::mallinfo2().uordblks;
        orv::Reader reader(orv::OpenInput(path));
        const std::vector<orv::RenderedFrame> frames = reader.Animation(kEntries - 1);
        if (frames.size() != 2) state.SkipWithError("the animation did not read back");
        benchmark::DoNotOptimize(frames.data());
        held = ::mallinfo2().uordblks - before;
    }
    // What the reader and the frames it gave hold on the heap once the entry is read.
    state.counters["heap_MiB"] = static_cast<double>(held) / (1 << 20);
    state.SetLabel(state.range(0) != 0 ? "worst" : "typical");
}

void BM_EveryEntryInOrder(benchmark::State& state)
{
    const std::string& path = ArchivePath(false);
    for (auto _ : state) {
        orv::Reader reader(orv::OpenInput(path));
        for (std::size_t i = 0; i < reader.entries().size(); ++i) {
            if (reader.entries()[i].kind == orv::EntryKind::Animation)
                benchmark::DoNotOptimize(reader.Animation(i).data());
            else
                benchmark::DoNotOptimize(reader.Picture(i).image.rgb.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * kEntries);
}

}  // namespace

BENCHMARK(BM_OpenArchive)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LastEntryFirst)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EveryEntryInOrder)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    for (const bool worst : {false, true}) std::filesystem::remove(ArchivePath(worst), ignored);
    return 0;
}
