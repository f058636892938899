// Converting a pack archive holding one animation of 100 frames of 640x480: a full
// first picture, then rectangles following a sprite that moves across it, each
// encoded over the canvas the frames before it leave.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "tools/ani_writer.h"
#include "tools/cg_encoder.h"
#include "convert_support.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kFrames = 100;
constexpr int kSpriteWidth = 96;
constexpr int kSpriteHeight = 128;

int SpriteLeft(int frame)
{
    return 20 + 5 * frame;
}
// Bounces along a floor, four frames up and four down.
int SpriteTop(int frame)
{
    return 300 - 8 * std::min(frame % 8, 8 - frame % 8);
}

// Sky bands, a sun, tiled ground and a wall, with the sprite drawn where it stands in
// `frame`: a body with shading rows, eyes and striped legs.
orv::tools::CgPicture Scene(int frame)
{
    orv::tools::CgPicture picture;
    picture.width = kWidth;
    picture.height = kHeight;
    orv::bench::FillScenePalette(picture);
    picture.pixels.resize(std::size_t{kWidth} * kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            auto index = static_cast<std::uint8_t>(y * 40 / kHeight);
            const int dx = x - 420, dy = y - 140;
            if (dx * dx + dy * dy < 60 * 60) index = 100;
            if (y > 300) index = static_cast<std::uint8_t>(60 + (x / 16 + y / 8) % 8);
            if (x > 80 && x < 200 && y > 200 && y < 380) index = 120;
            picture.pixels[std::size_t{kWidth} * y + x] = index;
        }
    }
    const int left = SpriteLeft(frame), top = SpriteTop(frame);
    for (int y = 0; y < kSpriteHeight; ++y) {
        for (int x = 0; x < kSpriteWidth; ++x) {
            auto index = static_cast<std::uint8_t>(104 + y / 16);
            if (y > 96) index = static_cast<std::uint8_t>(x / 8 % 2 == 0 ? 112 : 113);
            if ((y - 30) * (y - 30) + (x - 30) * (x - 30) < 49 || (y - 30) * (y - 30) + (x - 66) * (x - 66) < 49)
                index = 114;
            picture.pixels[std::size_t{kWidth} * (top + y) + left + x] = index;
        }
    }
    return picture;
}

orv::tools::Bytes AnimationArchive()
{
    std::vector<orv::tools::Bytes> frames;
    orv::tools::CgPicture picture = Scene(0);
    frames.push_back(orv::tools::EncodeCg(picture));
    orv::tools::Bytes canvas = orv::tools::DrawnCanvas(picture);
    for (int frame = 1; frame < kFrames; ++frame) {
        picture = Scene(frame);
        picture.type = 2;
        picture.left = static_cast<std::uint16_t>(SpriteLeft(frame - 1));
        picture.right = static_cast<std::uint16_t>(SpriteLeft(frame) + kSpriteWidth);
        picture.top = static_cast<std::uint16_t>(std::min(SpriteTop(frame - 1), SpriteTop(frame)));
        picture.bottom = static_cast<std::uint16_t>(std::max(SpriteTop(frame - 1), SpriteTop(frame)) + kSpriteHeight);
        frames.push_back(orv::tools::EncodeCg(picture, canvas));
        canvas = orv::tools::DrawnCanvas(picture, canvas);
    }
    return orv::tools::BuildPack({{"scene.ani", orv::tools::BuildAnimation(frames)}});
}

void ConvertAnimation(benchmark::State& state, orv::OutputMode mode)
{
    const orv::tools::Bytes archive = AnimationArchive();
    orv::bench::ConvertEachIteration(state, "anim.dat", archive, mode);
    state.counters["frames_per_second"]
        = benchmark::Counter(static_cast<double>(state.iterations() * kFrames), benchmark::Counter::kIsRate);
    state.counters["archive_bytes"] = static_cast<double>(archive.size());
}

void BM_ConvertAnimationToBmp(benchmark::State& state)
{
    ConvertAnimation(state, orv::AllBmp);
}
void BM_ConvertAnimationToPng(benchmark::State& state)
{
    ConvertAnimation(state, orv::AllPng);
}
// Real time: writing the frames waits on the file system.
BENCHMARK(BM_ConvertAnimationToBmp)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ConvertAnimationToPng)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
