// Writes the bundled sample pack archive, made entirely by this project.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "cg_encoder.h"
#include "pack_writer.h"

using orv::tools::BytesOf;
using orv::tools::CgPicture;

namespace {

void SetColour(CgPicture& picture, int index, int red, int green, int blue)
{
    const auto at = static_cast<std::size_t>(index * 3);
    picture.palette[at] = static_cast<std::uint8_t>(blue);
    picture.palette[at + 1] = static_cast<std::uint8_t>(green);
    picture.palette[at + 2] = static_cast<std::uint8_t>(red);
}

// Palette entries first..first+count-1 blend from one colour to another.
void SetRamp(CgPicture& picture, int first, int count, const int (&from)[3], const int (&to)[3])
{
    for (int i = 0; i < count; ++i) {
        int rgb[3];
        for (int c = 0; c < 3; ++c)
            rgb[c] = from[c] + (to[c] - from[c]) * i / std::max(1, count - 1);
        SetColour(picture, first + i, rgb[0], rgb[1], rgb[2]);
    }
}

CgPicture Blank(int width, int height)
{
    CgPicture picture;
    picture.width = static_cast<std::uint16_t>(width);
    picture.height = static_cast<std::uint16_t>(height);
    picture.pixels.assign(static_cast<std::size_t>(width * height), 0);
    return picture;
}

void Put(CgPicture& picture, int x, int y, int index)
{
    const auto at = static_cast<std::size_t>(y * picture.width + x);
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
    picture.type = 2;
    picture.left = 16;
    picture.top = 16;
    picture.right = 80;
    picture.bottom = 80;
    SetRamp(picture, 1, 6, {255, 230, 120}, {200, 40, 60});
    SetColour(picture, 7, 255, 255, 255);
    for (int y = picture.top; y < picture.bottom; ++y) {
        for (int x = picture.left; x < picture.right; ++x) {
            const int distance = std::abs(x - 48) + std::abs(y - 48);
            if (distance <= 2) Put(picture, x, y, 7);
            else if (distance < 30) Put(picture, x, y, 1 + distance / 5);
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
            if (tx == 0 || ty == 0) shade = 1;
            else if (tx == 11 || ty == 11) shade = 2;
            Put(picture, x, y, base + shade);
        }
    }
    return picture;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sample OUTPUT.dat\n");
        return 2;
    }
    orv::tools::Bytes table;
    for (int row = 0; row < 16; ++row) {
        for (int column = 0; column < 16; ++column) table.push_back(static_cast<std::uint8_t>(row * 16 + column));
    }
    const std::vector<orv::tools::PackItem> items{
        {"readme.txt", BytesOf("orvconv sample archive.\nEvery entry here was written by tools/make_sample.\n")},
        // "タイトル.txt" in CP932.
        {"\x83\x5e\x83\x43\x83\x67\x83\x8b.txt", BytesOf("\x83\x54\x83\x93\x83\x76\x83\x8b\n")},
        {"credits.csv", BytesOf("role,name\nprogram,orvconv\n")},
        {"bytes.bin", table},
        {"title.cg", orv::tools::EncodeCg(Title())},
        {"icon.cg", orv::tools::EncodeCg(Icon())},
        {"tiles.cg", orv::tools::EncodeCg(Tiles())},
    };
    if (!orv::tools::WriteFileBytes(argv[1], orv::tools::BuildPack(items))) {
        std::fprintf(stderr, "make_sample: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
