// Writes the bundled samples, made entirely by this project: a pack archive, an
// animation file and a settings file for it.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tools/ani_writer.h"
#include "tools/cg_encoder.h"
#include "engine/read/image_decoder.h"
#include "tools/pack_writer.h"
#include "tools/sound_writer.h"

using orv::tools::Bytes;
using orv::tools::BytesOf;
using orv::tools::CgPicture;
using orv::tools::DrawnCanvas;
using orv::tools::EncodeCg;

namespace {

void SetColour(CgPicture& picture, int index, int red, int green, int blue)
{
    const auto at = static_cast<std::size_t>(index) * 3;
    picture.palette[at] = static_cast<std::uint8_t>(blue);
    picture.palette[at + 1] = static_cast<std::uint8_t>(green);
    picture.palette[at + 2] = static_cast<std::uint8_t>(red);
}

// Palette entries first..first+count-1 blend from one colour to another.
void SetRamp(CgPicture& picture, int first, int count, const int (&from)[3], const int (&to)[3])
{
    for (int i = 0; i < count; ++i) {
        int rgb[3];
        for (int c = 0; c < 3; ++c) rgb[c] = from[c] + (to[c] - from[c]) * i / std::max(1, count - 1);
        SetColour(picture, first + i, rgb[0], rgb[1], rgb[2]);
    }
}

CgPicture Blank(int width, int height)
{
    CgPicture picture;
    picture.width = static_cast<std::uint16_t>(width);
    picture.height = static_cast<std::uint16_t>(height);
    picture.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    return picture;
}

void Put(CgPicture& picture, int x, int y, int index)
{
    const auto at = static_cast<std::size_t>(y) * picture.width + static_cast<std::size_t>(x);
    picture.pixels[at] = static_cast<std::uint8_t>(index);
}

// A dithered sky over striped fields, with a shaded sun and one cloud: every palette
// entry in use.
CgPicture Title()
{
    constexpr int width = 320, height = 240, horizon = 160;
    CgPicture picture = Blank(width, height);
    SetRamp(picture, 0, 64, {18, 32, 96}, {250, 190, 150});  // sky, top to horizon
    SetRamp(picture, 64, 16, {255, 250, 220}, {250, 130, 40});  // sun, centre to rim
    SetRamp(picture, 80, 8, {120, 180, 70}, {40, 90, 30});  // field stripes, near to far
    SetRamp(picture, 88, 8, {150, 200, 90}, {60, 110, 40});
    SetRamp(picture, 96, 32, {170, 170, 190}, {255, 255, 255});  // cloud, rim to centre

    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int index = 0;
            if (y < horizon) {
                // Half steps between sky bands dither in a checkerboard.
                const int step = y * 126 / (horizon - 1);
                index = step / 2 + (step % 2 == 1 && (x + y) % 2 == 1 ? 1 : 0);
                const int sx = x - 232, sy = y - 84;
                const double sun = std::sqrt(sx * sx + sy * sy);
                if (sun < 34.0) index = 64 + static_cast<int>(sun * 16.0 / 34.0);
                const double cx = (x - 90) / 58.0, cy = (y - 56) / 18.0;
                const double cloud = cx * cx + cy * cy;
                if (cloud < 1.0) index = 96 + static_cast<int>((1.0 - cloud) * 31.99);
            } else {
                // Stripes lean two pixels a row; shade bands get darker towards the horizon.
                const int depth = y - horizon;
                const int stripe = ((x + depth * 2) / 16) % 2;
                index = (stripe == 0 ? 80 : 88) + 7 - depth * 8 / (height - horizon);
            }
            Put(picture, x, y, index);
        }
    }
    return picture;
}

// A diamond of rings in the middle of a 96 x 96 canvas, drawn as a rectangle picture;
// corners of the rectangle stay black.
CgPicture Icon()
{
    CgPicture picture = Blank(96, 96);
    picture.type = orv::kRectPicture;
    picture.left = 16;
    picture.top = 16;
    picture.right = 80;
    picture.bottom = 80;
    SetRamp(picture, 1, 6, {255, 230, 120}, {200, 40, 60});
    SetColour(picture, 7, 255, 255, 255);
    for (int y = picture.top; y < picture.bottom; ++y) {
        for (int x = picture.left; x < picture.right; ++x) {
            const int distance = std::abs(x - 48) + std::abs(y - 48);
            if (distance <= 2)
                Put(picture, x, y, 7);
            else if (distance < 30)
                Put(picture, x, y, 1 + distance / 5);
        }
    }
    return picture;
}

// Bevelled tiles 12 pixels square with grout between them; 101 x 77 so that rows
// need padding once written out.
CgPicture Tiles()
{
    CgPicture picture = Blank(101, 77);
    SetColour(picture, 0, 70, 66, 60);
    SetColour(picture, 1, 190, 80, 60);
    SetColour(picture, 2, 230, 130, 110);
    SetColour(picture, 3, 120, 45, 35);
    SetColour(picture, 4, 60, 100, 170);
    SetColour(picture, 5, 110, 150, 220);
    SetColour(picture, 6, 30, 55, 110);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const int tx = x % 13, ty = y % 13;
            if (tx == 12 || ty == 12) continue;
            const int base = ((x / 13 + y / 13) % 2 == 0) ? 1 : 4;
            int shade = 0;
            if (tx == 0 || ty == 0)
                shade = 1;
            else if (tx == 11 || ty == 11)
                shade = 2;
            Put(picture, x, y, base + shade);
        }
    }
    return picture;
}

// The walking figure, 8 x 16: H hair, S skin, R shirt, T trousers, B shoes. Its legs
// swap between two poses.
constexpr const char* kFigureTop[11] = {
    "..HHHH..", ".HHHHHH.", ".HSSSSH.", "..SSSS..", "..SSSS..", "...SS...",
    ".RRRRRR.", "RRRRRRRR", "SRRRRRRS", "S.RRRR.S", "..RRRR..",
};
constexpr const char* kFigureLegs[2][5] = {
    {"..TTTT..", "..TTTT..", "..TT.T..", "..TT.T..", "..BB.BB."},
    {"..TTTT..", ".TT..TT.", ".TT..TT.", "TT....TT", "BB....BB"},
};
constexpr int kWalkWidth = 64, kWalkHeight = 48, kGround = 34, kFigureTopRow = 20;

// The figure's left column in frame k (from 1): seven pixels further each frame.
int FigureLeft(int frame)
{
    return 4 + 7 * (frame - 1);
}

// The whole scene of frame k: a gradient sky by day or a starry one by night over
// striped ground, and the figure. No colour is black by day, so that a day frame drawn
// as a whole picture covers whatever the canvas held.
CgPicture WalkScene(int frame, bool night)
{
    CgPicture picture = Blank(kWalkWidth, kWalkHeight);
    if (night) {
        SetColour(picture, 0, 0, 0, 0);
        SetColour(picture, 1, 250, 250, 200);  // stars
        SetRamp(picture, 16, 2, {30, 60, 40}, {20, 45, 30});
    } else {
        SetRamp(picture, 0, 16, {70, 130, 230}, {200, 225, 250});
        SetRamp(picture, 16, 2, {110, 180, 70}, {80, 150, 50});
    }
    const int dim = night ? 2 : 1;
    SetColour(picture, 20, 40 / dim, 30 / dim, 20 / dim);  // hair
    SetColour(picture, 21, 240 / dim, 190 / dim, 150 / dim);  // skin
    SetColour(picture, 22, 210 / dim, 40 / dim, 40 / dim);  // shirt
    SetColour(picture, 23, 40 / dim, 60 / dim, 140 / dim);  // trousers
    SetColour(picture, 24, 60 / dim, 50 / dim, 50 / dim);  // shoes

    for (int y = 0; y < kWalkHeight; ++y) {
        for (int x = 0; x < kWalkWidth; ++x) {
            int index = 16 + (x + y) / 4 % 2;
            if (y < kGround) index = night ? ((x * 11 + y * 7) % 53 == 0 ? 1 : 0) : y * 16 / kGround;
            Put(picture, x, y, index);
        }
    }
    constexpr std::string_view kinds = "HSRTB";
    for (int row = 0; row < 16; ++row) {
        const char* line = row < 11 ? kFigureTop[row] : kFigureLegs[frame % 2][row - 11];
        for (int column = 0; column < 8; ++column) {
            const std::size_t kind = kinds.find(line[column]);
            if (kind != std::string_view::npos)
                Put(picture, FigureLeft(frame) + column, kFigureTopRow + row, 20 + static_cast<int>(kind));
        }
    }
    return picture;
}

// Frame k drawn as the rectangle that covers the figure in frame `since` and in frame k.
CgPicture WalkStep(int frame, bool night, int since)
{
    CgPicture picture = WalkScene(frame, night);
    picture.type = orv::kRectPicture;
    picture.left = static_cast<std::uint16_t>(FigureLeft(since));
    picture.top = kFigureTopRow;
    picture.right = static_cast<std::uint16_t>(FigureLeft(frame) + 8);
    picture.bottom = kFigureTopRow + 16;
    return picture;
}

// The figure crosses the day in frames 1-4 and the night in frames 5-8. Each frame is
// encoded over the canvas it is drawn on under kWalkSettings: frame 4 over frame 1,
// frame 5 over a cleared canvas, frame 7 over frame 5 as frame 6 is left out.
constexpr const char* kWalkSettings
    = "; walk.ani: frame 4 redraws from frame 1, frame 5 starts the night on a cleared\n"
      "; canvas, frame 6 is left out\n"
      "[walk.ani]\n"
      "p4=1\n"
      "p5=-1\n"
      "p6=6\n";

Bytes WalkAnimation()
{
    const CgPicture first = WalkScene(1, false);
    const CgPicture night = WalkScene(5, true);
    std::vector<Bytes> frames{EncodeCg(first)};
    Bytes canvas = DrawnCanvas(first);
    for (int frame = 2; frame <= 3; ++frame) {
        const CgPicture step = WalkStep(frame, false, frame - 1);
        frames.push_back(EncodeCg(step, canvas));
        canvas = DrawnCanvas(step, canvas);
    }
    const CgPicture fromFirst = WalkStep(4, false, 1);
    canvas = DrawnCanvas(first, canvas);
    frames.push_back(EncodeCg(fromFirst, canvas));
    frames.push_back(EncodeCg(night));
    canvas = DrawnCanvas(night);
    frames.push_back(EncodeCg(WalkStep(6, true, 5), canvas));
    for (int frame = 7; frame <= 8; ++frame) {
        const CgPicture step = WalkStep(frame, true, frame == 7 ? 5 : frame - 1);
        frames.push_back(EncodeCg(step, canvas));
        canvas = DrawnCanvas(step, canvas);
    }
    return orv::tools::BuildAnimation(frames);
}

// A sound of 0.3 s with 10 ms fades.
Bytes Sound(std::uint8_t code, int rate, const std::vector<std::vector<double>>& channels)
{
    const auto frames = static_cast<std::size_t>(rate * 3 / 10);
    const auto fade = static_cast<std::size_t>(rate / 100);
    return orv::tools::BuildSoundEntry(code, orv::tools::SineSamples(rate, frames, channels, 6000.0, fade));
}

bool Write(const std::string& folder, const char* name, const Bytes& bytes)
{
    const std::string path = folder + "/" + name;
    if (orv::tools::WriteFileBytes(path, bytes)) return true;
    std::fprintf(stderr, "make_sample: cannot write %s\n", path.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sample FOLDER\n");
        return 2;
    }
    Bytes table;
    for (int row = 0; row < 16; ++row) {
        for (int column = 0; column < 16; ++column) table.push_back(static_cast<std::uint8_t>(row * 16 + column));
    }
    const Bytes walk = WalkAnimation();
    const std::vector<orv::tools::PackItem> items{
        {"readme.txt", BytesOf("orvconv sample archive.\nEvery entry here was written by tools/make_sample.\n")},
        // "タイトル.txt" in CP932.
        {"\x83\x5e\x83\x43\x83\x67\x83\x8b.txt", BytesOf("\x83\x54\x83\x93\x83\x76\x83\x8b\n")},
        {"credits.csv", BytesOf("role,name\nprogram,orvconv\n")},
        {"bytes.bin", table},
        {"title.cg", EncodeCg(Title())},
        {"icon.cg", EncodeCg(Icon())},
        {"tiles.cg", EncodeCg(Tiles())},
        {"walk.ani", walk},
        {"beep6.pcm", Sound(orv::kSoundMono22050, 22050, {{1000.0}})},
        // C major, the third to the left and the fifth to the right.
        {"chord7.pcm", Sound(orv::kSoundStereo22050, 22050, {{261.63, 329.63}, {261.63, 392.0}})},
        {"tone10.pcm", Sound(orv::kSoundStereo44100, 44100, {{440.0}, {880.0}})},
    };
    const std::string folder = argv[1];
    const bool written = Write(folder, "sample.dat", orv::tools::BuildPack(items)) && Write(folder, "walk.ani", walk)
        && Write(folder, "sample.ini", BytesOf(kWalkSettings));
    return written ? 0 : 1;
}
