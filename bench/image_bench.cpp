// Decoding and writing a 640x480 picture with a realistic token mix: gradients
// (copies from above), flat shapes (runs and skips) and a noisy band (literals).
#include <benchmark/benchmark.h>

#include <random>

#include "tools/cg_encoder.h"
#include "convert_support.h"
#include "engine/convert/converter.h"
#include "engine/read/image_decoder.h"
#include "engine/output/image_writers.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

orv::tools::Bytes ScenePicture()
{
    orv::tools::CgPicture picture;
    picture.width = kWidth;
    picture.height = kHeight;
    orv::bench::FillScenePalette(picture);
    std::mt19937 random(7);
    picture.pixels.resize(kWidth * kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            std::uint8_t index = static_cast<std::uint8_t>(y * 40 / kHeight);  // sky bands
            const int dx = x - 420, dy = y - 140;
            if (dx * dx + dy * dy < 60 * 60) index = 100;  // sun
            if (y > 300) index = static_cast<std::uint8_t>(60 + (x / 16 + y / 8) % 8);  // tiled ground
            if (y > 420) index = static_cast<std::uint8_t>(80 + random() % 24);  // noisy grass
            if (x > 80 && x < 200 && y > 200 && y < 380) index = 120;  // a wall
            picture.pixels[y * kWidth + x] = index;
        }
    }
    return orv::tools::EncodeCg(picture);
}

void BM_DecodeImage(benchmark::State& state)
{
    const orv::tools::Bytes picture = ScenePicture();
    std::vector<std::uint8_t> canvas(std::size_t{kWidth} * kHeight * 3);
    for (auto _ : state) {
        orv::DecodeImage(picture.data(), canvas.data(), static_cast<std::uint32_t>(picture.size()));
        benchmark::DoNotOptimize(canvas.data());
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
    state.counters["stream_bytes"] = static_cast<double>(picture.size());
}
BENCHMARK(BM_DecodeImage);

// Writes the decoded picture, as bottom-up padded rows, again and again into a
// scratch output folder.
void WriteBench(benchmark::State& state, orv::OutputMode mode)
{
    const orv::tools::Bytes picture = ScenePicture();
    std::vector<std::uint8_t> canvas(std::size_t{kWidth} * kHeight * 3);
    orv::DecodeImage(picture.data(), canvas.data(), static_cast<std::uint32_t>(picture.size()));
    const std::size_t stride = (kWidth * 3 + 3) / 4 * 4;
    std::vector<std::uint8_t> rows(stride * kHeight, 0);
    for (int y = 0; y < kHeight; ++y)
        std::copy_n(canvas.begin() + y * kWidth * 3, kWidth * 3, rows.begin() + (kHeight - 1 - y) * stride);
    const orv::DibInfo info{
        kWidth, kHeight, 24, static_cast<std::int32_t>(stride), static_cast<std::int32_t>(rows.size()), 54};

    const orv::bench::ScratchFolder folder;
    orv::SilentStatusView view;
    orv::Converter converter(view);
    converter.outDir = folder.Path() + "/";
    for (auto _ : state) {
        if (mode == orv::AllPng)
            converter.WritePngFile(rows.data(), info, converter.outDir + "scene.png", nullptr);
        else
            converter.WriteBmpFile(rows.data(), info, converter.outDir + "scene.bmp", nullptr);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(rows.size()));
}

void BM_WriteBmp(benchmark::State& state)
{
    WriteBench(state, orv::AllBmp);
}
void BM_WritePng(benchmark::State& state)
{
    WriteBench(state, orv::AllPng);
}
BENCHMARK(BM_WriteBmp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WritePng)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
