// Colours are counted on what an entry stores: a frame that changes a rectangle of the
// one before it needs palette entries only for the pixels it changes.
#include <gtest/gtest.h>

#include "orvpack_fixture.h"
#include "tools/ani_writer.h"

using orv::tools::Bytes;

namespace {

constexpr std::uint16_t kWidth = 640;
constexpr std::uint16_t kHeight = 480;

Bytes Frame(std::uint8_t type, int seed, std::array<std::uint16_t, 4> rect)
{
    return StripedPicture(type, kWidth, kHeight, seed, rect, 100);
}

// A 24-bit BMP's distinct colours.
std::size_t BmpColours(const Bytes& bmp)
{
    std::set<std::uint32_t> colours;
    for (std::size_t at = 54; at + 3 <= bmp.size(); at += 3)
        colours.insert(static_cast<std::uint32_t>(bmp[at] | bmp[at + 1] << 8 | bmp[at + 2] << 16));
    return colours.size();
}

TEST_F(OrvpackTest, FramesOfManyColoursInAllGoBackWhenEachStoresFewer)
{
    const Bytes walk = orv::tools::BuildAnimation({
        Frame(0, 1, {0, 0, kWidth, kHeight}),
        Frame(2, 2, {100, 100, 300, 250}),
        Frame(2, 3, {320, 200, 640, 480}),
    });
    const std::string archive = Write("game.dat", orv::tools::BuildPack({{"walk.ani", walk}}));
    const std::filesystem::path folder = Convert(archive, "out");
    // 640 x 480 x 3 bytes and the 54-byte header: no padding to skip.
    ASSERT_GT(BmpColours(ReadAll(folder / "walk_0003.bmp")), 250u);

    for (const bool quantize : {false, true}) {
        SCOPED_TRACE(quantize ? "--quantize" : "as they are");
        const std::string packed = (dir.path() / (quantize ? "q.dat" : "p.dat")).string();
        std::vector<std::string> args{"-o", packed, folder.string()};
        if (quantize) args.insert(args.begin(), "--quantize");
        const Process::Result result = Pack(args);
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.err.find("reduced"), std::string::npos) << result.err;
        EXPECT_EQ(Differing(Tree(Convert(packed, quantize ? "q" : "p")), Tree(folder)), std::vector<std::string>{});
    }

    // The last frame edited to store more than 128 colours is refused, or reduced alone.
    Bytes edited = ReadAll(folder / "walk_0003.bmp");
    for (std::size_t i = 0; i < 200; ++i) {
        const std::size_t at = 54 + (i * 641 + 5000) * 3;
        edited[at] = static_cast<std::uint8_t>(i);
        edited[at + 1] = 3;
        edited[at + 2] = static_cast<std::uint8_t>(i / 2);
    }
    Write("out/game/walk_0003.bmp", edited);
    const Process::Result refused = Pack({"-o", (dir.path() / "r.dat").string(), folder.string()});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("walk_0003.bmp: "), std::string::npos) << refused.err;
    const Process::Result reduced = Pack({"--quantize", "-o", (dir.path() / "e.dat").string(), folder.string()});
    ASSERT_EQ(reduced.exitCode, 0) << reduced.err;
    EXPECT_NE(reduced.err.find("walk_0003.bmp: "), std::string::npos) << reduced.err;
    EXPECT_EQ(reduced.err.find("walk_0002.bmp"), std::string::npos) << reduced.err;
    const auto again = Tree(Convert((dir.path() / "e.dat").string(), "e"));
    EXPECT_EQ(again.at("walk_0001.bmp"), ReadAll(folder / "walk_0001.bmp"));
    EXPECT_EQ(again.at("walk_0002.bmp"), ReadAll(folder / "walk_0002.bmp"));
    // Only what the frame stores is reduced: what it shows of frame 2 stays.
    const Bytes& last = again.at("walk_0003.bmp");
    const Bytes shown = ReadAll(folder / "walk_0002.bmp");
    const std::size_t untouched = 54 + (250 * std::size_t{kWidth} + 10) * 3;
    EXPECT_TRUE(std::equal(last.begin() + untouched, last.begin() + untouched + 300, shown.begin() + untouched));
}

}  // namespace
