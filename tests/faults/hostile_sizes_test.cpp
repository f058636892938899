// Sizes that claim far more than the input holds: archives whose entries claim
// gigabytes (converted as far as the file goes, the input named as cut short), pictures asking for 65535 x 65535
// pixels, animations whose frame table claims a billion frames. Each run ends quickly with its documented outcome,
// inside the address space the fixture allows.
#include "tools/ani_writer.h"
#include "fault_fixture.h"

namespace faults {
namespace {

using orv::tools::BytesOf;

// "pack", one entry, and its 24-byte record: 30 bytes in all.
Bytes ThirtyBytes(const std::string& name, std::uint32_t offset, std::uint32_t size)
{
    Bytes archive = orv::tools::PackHeader(1);
    orv::tools::AppendRecord(archive, name, offset, size);
    return archive;
}

// A picture header of type 0 or 2 with a zero palette and one literal token.
Bytes HugePicture(std::uint8_t type)
{
    Bytes picture{type, 0xFF, 0xFF, 0xFF, 0xFF};
    if (type == 2) picture.insert(picture.end(), {0, 0, 0, 0, 1, 0, 1, 0});  // a 1 x 1 rectangle
    picture.resize(picture.size() + 384, 0);
    picture.push_back(0x80);
    return picture;
}

TEST_F(FaultTest, ThirtyByteArchivesClaimingGigabytesGiveWhatTheFileHolds)
{
    const std::uint32_t claim = 0xFFFFFFFFu;
    const Bytes bin = ThirtyBytes("big.bin", 0, claim);
    ASSERT_EQ(bin.size(), 30u);

    const std::string binInput = Input("bin.dat", bin);
    auto result = Convert({binInput});
    EXPECT_EQ(result.exitCode, kExitPastEnd) << result.err;
    EXPECT_EQ(result.err, PastEndLine(binInput));
    EXPECT_EQ(result.out, kFinished);
    EXPECT_EQ(ReadAll(root() / "bin" / "big.bin"), bin);

    result = Convert({Input("beyond.dat", ThirtyBytes("far.bin", 0xFFFFFF00u, claim))});
    EXPECT_EQ(result.exitCode, kExitPastEnd) << result.err;
    EXPECT_EQ(ReadAll(root() / "beyond" / "far.bin"), Bytes{});

    // The 30 bytes as a picture are of type 0x70 ("p"): copied raw.
    const Bytes cg = ThirtyBytes("big.cg", 0, claim);
    result = Convert({Input("cg.dat", cg)});
    EXPECT_EQ(result.exitCode, kExitPastEnd) << result.err;
    EXPECT_EQ(FilesIn(root() / "cg"), std::vector<std::string>{"big.cg"});
    EXPECT_EQ(ReadAll(root() / "cg" / "big.cg"), cg);

    // As an animation the 30 bytes hold 7 table slots. Slots 5 and 6 (bytes 16 to 23:
    // the end of the name and the low half of the offset) read 0, so those frames are
    // the whole data, of type 0x70: raw copies. The other slots lie past the end.
    const Bytes ani = ThirtyBytes("big.ani", 0, claim);
    result = Convert({Input("ani.dat", ani)});
    EXPECT_EQ(result.exitCode, kExitPastEnd) << result.err;
    EXPECT_EQ(FilesIn(root() / "ani"), (std::vector<std::string>{"big.ani_0005", "big.ani_0006"}));
    EXPECT_EQ(ReadAll(root() / "ani" / "big.ani_0006"), ani);

    // As a sound its format code is "k": not a format.
    result = Convert({Input("pcm.dat", ThirtyBytes("big.pcm", 0, claim))});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, UnknownFormat(Out("pcm", "big.wav")));

    EXPECT_EQ(WrittenOutside({"bin", "beyond", "cg", "ani", "pcm"}), std::vector<std::string>{});
}

TEST_F(FaultTest, PicturesAsking65535By65535AreTheMemoryError)
{
    for (const std::uint8_t type : {0, 2}) {
        SCOPED_TRACE(static_cast<int>(type));
        const Bytes picture = HugePicture(type);
        auto result = Convert({Input("huge.dat", orv::tools::BuildPack({{"huge.cg", picture}}))});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err, kMemoryError);
        EXPECT_EQ(result.out, "");
        EXPECT_TRUE(FilesIn(root() / "huge").empty());

        result = Convert({"-f", "png", Input("huge.ani", orv::tools::BuildAnimation({picture}))});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err, kMemoryError);
        EXPECT_TRUE(FilesIn(root() / "huge").empty());
    }
}

// count table slots, all naming one type 0 picture of side x side after the table: a
// zero palette and one literal token.
Bytes RepeatedFrame(std::uint32_t count, std::uint16_t side)
{
    Bytes animation;
    for (std::uint32_t i = 0; i < count; ++i) orv::tools::AppendLe32(animation, count * 4);
    const auto low = static_cast<std::uint8_t>(side), high = static_cast<std::uint8_t>(side >> 8);
    animation.insert(animation.end(), {0, low, high, low, high});
    animation.resize(animation.size() + 384, 0);
    animation.push_back(0x80);
    return animation;
}

TEST_F(FaultTest, AnimationsMadeIntoOneFileAreBoundedByMemory)
{
    // 16,384 frames of 65535 x 65535, and 400 frames of 1000 x 1000 (3 MB each, 1.2 GB
    // in all), each frame one picture named again and again.
    for (const std::string mode : {"webp", "gif", "sheet"}) {
        for (const auto& [count, side] : {std::pair<std::uint32_t, std::uint16_t>{16384, 65535}, {400, 1000}}) {
            SCOPED_TRACE(mode + " " + std::to_string(count));
            const auto result = Convert({"--animation", mode, Input("many.ani", RepeatedFrame(count, side))});
            EXPECT_EQ(result.exitCode, 1);
            EXPECT_EQ(result.err, kMemoryError);
            EXPECT_TRUE(FilesIn(root() / "many").empty());
        }
    }
}

TEST_F(FaultTest, AnimationTablesStartingWith0xFFFFFFFFDrawNothing)
{
    // Two table slots fit in the 8 bytes; both frames lie past the end, as in a file cut short.
    const Bytes animation{0xFF, 0xFF, 0xFF, 0xFF, 0x10, 0, 0, 0};
    const std::string input = Input("table.ani", animation);
    auto result = Convert({input});
    EXPECT_EQ(result.exitCode, 5) << result.err;
    EXPECT_EQ(result.err,
              "orvconv-cli: " + input
                  + ": the file is cut short: its table or entries reach past its end (read as zeros)\n");
    EXPECT_EQ(result.out, kFinished);
    EXPECT_TRUE(std::filesystem::is_directory(root() / "table"));
    EXPECT_TRUE(FilesIn(root() / "table").empty());

    result
        = Convert({Input("pack.dat", orv::tools::BuildPack({{"walk.ani", animation}, {"after.txt", BytesOf("x")}}))});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(FilesIn(root() / "pack"), std::vector<std::string>{"after.txt"});
}

}  // namespace
}  // namespace faults
