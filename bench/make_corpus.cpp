// Writes the end-to-end benchmark's input, all made by the project's own tools: pack
// archives of 640x480 pictures, with animations, sounds and raw entries among them; or,
// with --one-archive, a single archive of 200 such pictures and one animation; or, with
// --animation, one stand-alone animation of 100 such frames.
#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "tools/ani_writer.h"
#include "tools/cg_encoder.h"
#include "tools/pack_writer.h"
#include "tools/sound_writer.h"

using orv::tools::Bytes;
using orv::tools::CgPicture;

namespace {

constexpr int kArchives = 30;
constexpr int kPicturesPerArchive = 18;
constexpr int kAnimationEvery = 5;  // every fifth archive holds a 10-frame animation
constexpr int kAnimationFrames = 10;
constexpr int kLongSoundEvery = 6;  // every sixth archive holds a sound streamed in chunks
constexpr int kPicturesInOneArchive = 200;
constexpr int kLongAnimationFrames = 100;
constexpr int kWidth = 640;
constexpr int kHeight = 480;

// Palette ranges: sky, sun, ground, buildings, foliage, figure.
constexpr int kSky = 0, kSkyCount = 32;
constexpr int kSun = 32, kSunCount = 8;
constexpr int kGround = 40, kGroundCount = 24;
constexpr int kBuilding = 64, kBuildingCount = 32;
constexpr int kFoliage = 96, kFoliageCount = 24;
constexpr int kFigure = 120, kFigureCount = 8;

using Random = std::mt19937;

int Between(Random& random, int low, int high)
{
    return std::uniform_int_distribution<int>(low, high)(random);
}

// count palette entries from first on, blending between two random colours.
void RandomRamp(CgPicture& picture, Random& random, int first, int count)
{
    std::array<int, 3> from{}, to{};
    for (int c = 0; c < 3; ++c) {
        from[c] = Between(random, 0, 255);
        to[c] = Between(random, 0, 255);
    }
    for (int i = 0; i < count; ++i) {
        for (int c = 0; c < 3; ++c) {
            const int value = from[c] + (to[c] - from[c]) * i / std::max(1, count - 1);
            picture.palette[static_cast<std::size_t>((first + i) * 3 + c)] = static_cast<std::uint8_t>(value);
        }
    }
}

struct Figure {
    int left, top, width, height;
};

// Draws a shaded figure: a body whose shading follows its rows, two eyes and striped legs.
void DrawFigure(CgPicture& picture, const Figure& figure)
{
    for (int y = 0; y < figure.height; ++y) {
        for (int x = 0; x < figure.width; ++x) {
            int index = kFigure + y * 5 / figure.height;
            if (y > figure.height * 3 / 4) index = kFigure + 5 + x / 6 % 2;
            const int ex = x - figure.width / 3, fx = x - figure.width * 2 / 3, ey = y - figure.height / 5;
            if (ex * ex + ey * ey < 25 || fx * fx + ey * ey < 25) index = kFigure + 7;
            const auto at = static_cast<std::size_t>((figure.top + y) * kWidth + figure.left + x);
            picture.pixels[at] = static_cast<std::uint8_t>(index);
        }
    }
}

// A painted scene: a sky of dithered bands, a sun, buildings with lit windows, tiled
// ground, a band of foliage noise and a figure. Every seed gives other colours and shapes.
CgPicture Scene(unsigned seed, const Figure& figure)
{
    Random random(seed);
    CgPicture picture;
    picture.width = kWidth;
    picture.height = kHeight;
    RandomRamp(picture, random, kSky, kSkyCount);
    RandomRamp(picture, random, kSun, kSunCount);
    RandomRamp(picture, random, kGround, kGroundCount);
    RandomRamp(picture, random, kBuilding, kBuildingCount);
    RandomRamp(picture, random, kFoliage, kFoliageCount);
    RandomRamp(picture, random, kFigure, kFigureCount);
    picture.pixels.assign(std::size_t{kWidth} * kHeight, 0);

    const int horizon = Between(random, 220, 330);
    const int sunX = Between(random, 60, 580), sunY = Between(random, 40, horizon - 60);
    const int sunRadius = Between(random, 20, 60);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            int index = 0;
            if (y < horizon) {
                // Half steps between bands dither in a checkerboard.
                const int step = y * (2 * kSkyCount - 2) / horizon;
                index = kSky + step / 2 + (step % 2 == 1 && (x + y) % 2 == 1 ? 1 : 0);
                const int dx = x - sunX, dy = y - sunY;
                const int distance = dx * dx + dy * dy;
                if (distance < sunRadius * sunRadius) index = kSun + distance * kSunCount / (sunRadius * sunRadius);
            } else {
                const int depth = y - horizon;
                const int tile = ((x + depth * 2) / 24 + depth / 12) % 3;
                index = kGround + tile * 8 + depth * 8 / (kHeight - horizon + 1);
            }
            picture.pixels[static_cast<std::size_t>(y * kWidth + x)] = static_cast<std::uint8_t>(index);
        }
    }
    for (int building = Between(random, 2, 6); building > 0; --building) {
        const int left = Between(random, 0, kWidth - 80), width = Between(random, 40, 120);
        const int top = Between(random, 60, horizon - 20);
        const int shade = kBuilding + Between(random, 0, 3) * 8;
        for (int y = top; y < horizon + 10; ++y) {
            for (int x = left; x < std::min(kWidth, left + width); ++x) {
                const bool window
                    = (x - left) % 12 >= 4 && (x - left) % 12 < 9 && (y - top) % 16 >= 5 && (y - top) % 16 < 12;
                const int index = window ? shade + 6 + (x / 12 + y / 16) % 2 : shade + (x - left) * 4 / width;
                picture.pixels[static_cast<std::size_t>(y * kWidth + x)] = static_cast<std::uint8_t>(index);
            }
        }
    }
    const int foliageTop = Between(random, horizon + 20, kHeight - 60);
    for (int y = foliageTop; y < std::min(kHeight, foliageTop + Between(random, 20, 50)); ++y) {
        for (int x = 0; x < kWidth; ++x) {
            // Clumps: a random colour of a few neighbouring shades, repeated now and then.
            if (x > 0 && random() % 3 == 0) continue;
            const int index = kFoliage + (x / 40 * 5 + Between(random, 0, 6)) % kFoliageCount;
            picture.pixels[static_cast<std::size_t>(y * kWidth + x)] = static_cast<std::uint8_t>(index);
        }
    }
    DrawFigure(picture, figure);
    return picture;
}

// The figure walks to the right and starts again at the left after 22 steps.
Figure FigureAt(int frame)
{
    return {40 + 24 * (frame % 22), 300 - 6 * std::min(frame % 6, 6 - frame % 6), 72, 112};
}

// A 640x480 animation: the whole scene, then rectangles that follow the moving figure,
// each encoded over the canvas the frames before it leave.
Bytes Animation(unsigned seed, int frameCount = kAnimationFrames)
{
    std::vector<Bytes> frames;
    CgPicture picture = Scene(seed, FigureAt(0));
    frames.push_back(orv::tools::EncodeCg(picture));
    Bytes canvas = orv::tools::DrawnCanvas(picture);
    for (int frame = 1; frame < frameCount; ++frame) {
        picture = Scene(seed, FigureAt(frame));
        const Figure before = FigureAt(frame - 1), now = FigureAt(frame);
        picture.type = 2;
        picture.left = static_cast<std::uint16_t>(std::min(before.left, now.left));
        picture.right = static_cast<std::uint16_t>(std::max(before.left, now.left) + now.width);
        picture.top = static_cast<std::uint16_t>(std::min(before.top, now.top));
        picture.bottom = static_cast<std::uint16_t>(std::max(before.top, now.top) + now.height);
        frames.push_back(orv::tools::EncodeCg(picture, canvas));
        canvas = orv::tools::DrawnCanvas(picture, canvas);
    }
    return orv::tools::BuildAnimation(frames);
}

Bytes Sound(bool isLong)
{
    using orv::tools::BuildSoundEntry;
    using orv::tools::SineSamples;
    if (isLong)  // 20 s of stereo at 44100 Hz: 3,528,004 bytes, more than one chunk
        return BuildSoundEntry(orv::kSoundStereo44100,
                               SineSamples(44100, 44100 * 20, {{220.0, 330.0}, {277.0}}, 6000.0, 441));
    return BuildSoundEntry(orv::kSoundMono22050, SineSamples(22050, 22050, {{880.0}}, 6000.0, 220));
}

Bytes RawBytes(unsigned seed, std::size_t size)
{
    Random random(seed);
    Bytes bytes(size);
    for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(random());
    return bytes;
}

std::string Numbered(const char* prefix, int number, const char* suffix)
{
    char name[32];
    std::snprintf(name, sizeof name, "%s%03d%s", prefix, number, suffix);
    return name;
}

bool WriteArchive(const std::string& path, const std::vector<orv::tools::PackItem>& items)
{
    if (orv::tools::WriteFileBytes(path, orv::tools::BuildPack(items))) return true;
    std::fprintf(stderr, "make_corpus: cannot write %s\n", path.c_str());
    return false;
}

// 200 pictures, then a 10-frame animation: what one large archive of a game holds.
bool WriteOneArchive(const std::string& folder)
{
    std::vector<orv::tools::PackItem> items;
    for (int n = 1; n <= kPicturesInOneArchive; ++n)
        items.push_back(
            {Numbered("cg", n, ".cg"), orv::tools::EncodeCg(Scene(static_cast<unsigned>(n), FigureAt(n % 12)))});
    items.push_back({"walk.ani", Animation(1)});
    return WriteArchive(folder + "/one.dat", items);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc == 3 ? argv[1] : "";
    static constexpr char kUsage[] = "usage: make_corpus [--one-archive | --animation] FOLDER\n";
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    // A FOLDER starting with "-" is an option mistyped, not a folder to fill.
    if ((argc != 2 && mode != "--one-archive" && mode != "--animation") || argv[argc - 1][0] == '-') {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string folder = argv[argc - 1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (mode == "--one-archive") return WriteOneArchive(folder) ? 0 : 1;
    if (mode == "--animation")
        return orv::tools::WriteFileBytes(folder + "/walk.ani", Animation(1, kLongAnimationFrames)) ? 0 : 1;
    for (int archive = 1; archive <= kArchives; ++archive) {
        std::vector<orv::tools::PackItem> items;
        items.push_back({"readme.txt", orv::tools::BytesOf("benchmark corpus archive\n")});
        for (int n = 1; n <= kPicturesPerArchive; ++n) {
            const auto seed = static_cast<unsigned>(archive * 1000 + n);
            items.push_back({Numbered("cg", n, ".cg"), orv::tools::EncodeCg(Scene(seed, FigureAt(n % 12)))});
        }
        if (archive % kAnimationEvery == 0) items.push_back({"walk.ani", Animation(static_cast<unsigned>(archive))});
        items.push_back({"voice.pcm", Sound(false)});
        if (archive % kLongSoundEvery == 0) items.push_back({"music.pcm", Sound(true)});
        items.push_back({"script.bin", RawBytes(static_cast<unsigned>(archive), 50'000)});

        if (!WriteArchive(folder + "/" + Numbered("data", archive, ".dat"), items)) return 1;
    }
    return 0;
}
