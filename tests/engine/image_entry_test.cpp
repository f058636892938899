#include <gtest/gtest.h>

#include "bmp_header.h"
#include "engine_fixture.h"
#include "engine/base/fatal_error.h"
#include "picture_bytes.h"
#include "png_reader.h"

using namespace orv;
using orv::tools::Bytes;

namespace {

const std::initializer_list<PictureBytes::Colour> kColours{{0, 0x10, 0x20, 0x30}, {1, 0x40, 0x50, 0x60}};

}  // namespace

class ConvertImageEntryTest : public EngineTest {
protected:
    ConvertImageEntryTest() { converter.outDir = exeDir().string() + "/"; }

    void Convert(const Bytes& picture, std::string_view name, std::int32_t frameNo = -1, bool clearCanvas = false,
                 bool renderOnly = false)
    {
        Bytes record;
        tools::AppendRecord(record, name, 0, static_cast<std::uint32_t>(picture.size()));
        converter.ConvertImageEntry(picture.data(), ParseArchiveEntry(record.data()), clearCanvas, renderOnly, frameNo);
    }

    std::string Out(const std::string& name) const { return converter.outDir + name; }
};

TEST_F(ConvertImageEntryTest, NamesFollowTheEntryTheFrameAndTheFormat)
{
    const Bytes picture = PictureBytes::Full(1, 1, kColours, {0x81});
    Convert(picture, "title.cg");
    Convert(picture, "walk.ani", 3);
    Convert(picture, "walk.ani", 12);
    Convert(picture, "a.b.cg");
    Convert(picture, "xani", 1);
    Convert(picture, "zero.cg", 0);
    converter.options.outputMode = AlphaPng;
    Convert(picture, "alpha.cg");
    converter.options.outputMode = AllPng;
    Convert(picture, "title.cg");
    EXPECT_EQ(FilesIn(exeDir()),
              (std::vector<std::string>{"a.b.bmp", "alpha.bmp", "title.bmp", "title.png", "walk_0003.bmp",
                                        "walk_0012.bmp", "xani_0001.bmp", "zero_0000.bmp"}));
    // In PNG mode the label first shows the ".bmp" name, then the ".png" one.
    const std::vector<std::string> lastTwo(view.calls.end() - 2, view.calls.end());
    EXPECT_EQ(lastTwo, (std::vector<std::string>{"output " + Out("title.bmp"), "output " + Out("title.png")}));
}

TEST_F(ConvertImageEntryTest, BmpHeaderAndPaddedBottomUpRows)
{
    // 5 x 2: top row entry 1, bottom row entry 0; 15 pixel bytes per row, stride 16.
    // The final 00 keeps the last run from being the stream's last byte.
    Convert(PictureBytes::Full(5, 2, kColours, {0x81, 0x14, 0x80, 0x14, 0x00}), "pic.cg");
    const Bytes file = ReadAll(Out("pic.bmp"));
    const BmpHeader header = ParseBmpHeader(file);
    EXPECT_EQ(header.signature, 0x4D42);
    EXPECT_EQ(header.fileSize, 54u + 32u);
    EXPECT_EQ(file.size(), 54u + 32u);
    EXPECT_EQ(header.dataOffset, 54u);
    EXPECT_EQ(header.infoSize, 40u);
    EXPECT_EQ(header.width, 5);
    EXPECT_EQ(header.height, 2);
    EXPECT_EQ(header.planes, 1);
    EXPECT_EQ(header.bitCount, 24);
    EXPECT_EQ(header.compression, 0u);
    EXPECT_EQ(header.imageSize, 0u);
    EXPECT_EQ(header.restAreZero, true);
    Bytes bottom, top;
    for (int x = 0; x < 5; ++x) {
        bottom.insert(bottom.end(), {0x10, 0x20, 0x30});
        top.insert(top.end(), {0x40, 0x50, 0x60});
    }
    bottom.push_back(0);
    top.push_back(0);
    EXPECT_EQ(Bytes(file.begin() + 54, file.begin() + 70), bottom);
    EXPECT_EQ(Bytes(file.begin() + 70, file.end()), top);
}

TEST_F(ConvertImageEntryTest, StrideRoundsRowsUpToFourBytes)
{
    for (const auto& [width, stride] : {std::pair{1, 4}, {4, 12}, {5, 16}}) {
        Convert(PictureBytes::Full(static_cast<std::uint16_t>(width), 3, kColours, {}), "s.cg");
        EXPECT_EQ(ReadAll(Out("s.bmp")).size(), 54u + 3u * stride) << width;
    }
}

TEST_F(ConvertImageEntryTest, PngPixelsMatchTheCanvasTopRowFirst)
{
    converter.options.outputMode = AllPng;
    Convert(PictureBytes::Full(5, 2, kColours, {0x81, 0x14, 0x80, 0x14, 0x00}), "pic.cg");
    const auto png = ReadPngFile(Out("pic.png"));
    ASSERT_TRUE(png);
    EXPECT_EQ(png->width, 5u);
    EXPECT_EQ(png->height, 2u);
    EXPECT_EQ(png->colourType, PNG_COLOR_TYPE_RGB);
    EXPECT_EQ(png->bitDepth, 8);
    Bytes top, bottom;
    for (int x = 0; x < 5; ++x) {
        top.insert(top.end(), {0x60, 0x50, 0x40});
        bottom.insert(bottom.end(), {0x30, 0x20, 0x10});
    }
    EXPECT_EQ(png->rows[0], top);
    EXPECT_EQ(png->rows[1], bottom);
    EXPECT_EQ(png->chunks, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    EXPECT_EQ(png->filterTypes, (std::vector<std::uint8_t>{0, 0}));
    EXPECT_EQ(png->zlibLevelBits, 3);  // levels 7 to 9
}

TEST_F(ConvertImageEntryTest, PackImagesStartOnABlackCanvas)
{
    // A rectangle picture after another picture: outside its rectangle all is black.
    Convert(PictureBytes::Full(3, 3, kColours, {0x81, 0x10, 0x05}), "full.cg");
    Convert(PictureBytes::Rect(3, 3, 1, 1, 2, 2, kColours, {0x80}), "rect.cg");
    const Bytes file = ReadAll(Out("rect.bmp"));
    for (int row = 0; row < 3; ++row) {
        for (int x = 0; x < 3; ++x) {
            const std::size_t at = 54 + row * 12 + x * 3;
            const Bytes pixel(file.begin() + static_cast<std::ptrdiff_t>(at),
                              file.begin() + static_cast<std::ptrdiff_t>(at) + 3);
            EXPECT_EQ(pixel, (row == 1 && x == 1 ? Bytes{0x10, 0x20, 0x30} : Bytes{0, 0, 0})) << x << "," << row;
        }
    }
}

TEST_F(ConvertImageEntryTest, LaterFramesDrawOverTheCanvasUnlessCleared)
{
    const Bytes frame1 = PictureBytes::Full(2, 1, kColours, {0x81, 0x81});
    const Bytes frame2 = PictureBytes::Rect(2, 1, 1, 0, 2, 1, kColours, {0x80});
    Convert(frame1, "walk.ani", 1);
    Convert(frame2, "walk.ani", 2);
    Convert(frame2, "walk.ani", 3, /*clearCanvas=*/true);
    const Bytes over = ReadAll(Out("walk_0002.bmp"));
    EXPECT_EQ(Bytes(over.begin() + 54, over.begin() + 60), (Bytes{0x40, 0x50, 0x60, 0x10, 0x20, 0x30}));
    const Bytes cleared = ReadAll(Out("walk_0003.bmp"));
    EXPECT_EQ(Bytes(cleared.begin() + 54, cleared.begin() + 60), (Bytes{0, 0, 0, 0x10, 0x20, 0x30}));
}

TEST_F(ConvertImageEntryTest, RenderOnlyDrawsAndShowsButWritesNothing)
{
    converter.options.outputMode = AllPng;
    Convert(PictureBytes::Full(2, 1, kColours, {0x81, 0x81}), "walk.ani", 3, false, /*renderOnly=*/true);
    EXPECT_TRUE(FilesIn(exeDir()).empty());
    EXPECT_EQ(view.calls, std::vector<std::string>{"output " + Out("walk_0003.bmp")});
    // The next frame keeps what the base frame drew.
    Convert(PictureBytes::Rect(2, 1, 1, 0, 2, 1, kColours, {0x80}), "walk.ani", 4);
    const auto png = ReadPngFile(Out("walk_0004.png"));
    ASSERT_TRUE(png);
    EXPECT_EQ(png->rows[0], (Bytes{0x60, 0x50, 0x40, 0x30, 0x20, 0x10}));
}

TEST_F(ConvertImageEntryTest, TypeOneDoesNothingAndOtherTypesAreRawCopies)
{
    Bytes typeOne = PictureBytes::Full(2, 2, kColours, {0x81});
    typeOne[0] = 1;
    Convert(typeOne, "one.cg");
    EXPECT_TRUE(view.calls.empty());
    EXPECT_TRUE(FilesIn(exeDir()).empty());

    Bytes typeFive = typeOne;
    typeFive[0] = 5;
    Convert(typeFive, "op.ani", 7);
    EXPECT_EQ(FilesIn(exeDir()), std::vector<std::string>{"op.ani_0007"});
    EXPECT_EQ(ReadAll(Out("op.ani_0007")), typeFive);
}

TEST_F(ConvertImageEntryTest, EmptyPicturesGiveAHeaderOnlyBmpInEveryMode)
{
    // libpng refuses a side of 0, so PNG mode writes the same BMP, with a note, and goes on.
    for (const OutputMode mode : {AllBmp, AllPng, AlphaPng}) {
        converter.options.outputMode = mode;
        view.notes.clear();
        const std::string empty = "empty" + std::to_string(mode);
        const std::string none = "none" + std::to_string(mode);
        Convert(Bytes{}, empty + ".cg");
        Convert(PictureBytes::Full(0, 4, kColours, {0x81}), none + ".cg");
        EXPECT_FALSE(std::filesystem::exists(Out(none + ".png"))) << mode;
        EXPECT_EQ(ReadAll(Out(empty + ".bmp")).size(), 54u) << mode;
        const Bytes file = ReadAll(Out(none + ".bmp"));
        const BmpHeader header = ParseBmpHeader(file);
        EXPECT_EQ(file.size(), 54u) << mode;
        EXPECT_EQ(header.signature, 0x4D42) << mode;
        EXPECT_EQ(header.fileSize, 54u) << mode;
        EXPECT_EQ(header.width, 0) << mode;
        EXPECT_EQ(header.height, 4) << mode;
        EXPECT_EQ(header.bitCount, 24) << mode;
        const std::string note = "幅か高さが0の画像はPNGにできないため、BMPで出力しました。\n";
        std::vector<std::string> notes;
        if (mode == AllPng) notes = {note + Out(empty + ".bmp"), note + Out(none + ".bmp")};
        EXPECT_EQ(view.notes, notes) << mode;
    }
}

TEST_F(ConvertImageEntryTest, HugeHeadersAreTheMemoryError)
{
    try {
        Convert(PictureBytes::Full(65535, 65535, kColours, {0x81}), "huge.cg");
        FAIL() << "65535 x 65535 pixels cannot be held";
    } catch (const FatalError& error) {
        EXPECT_STREQ(error.what(), "メモリ確保できません！\n終了します。");
    }
    EXPECT_TRUE(FilesIn(exeDir()).empty());
}

TEST_F(ConvertImageEntryTest, NamesThatLeaveTheFolderAreTheOpenErrorInBothFormats)
{
    const Bytes picture = PictureBytes::Full(1, 1, kColours, {0x81});
    for (const OutputMode mode : {AllBmp, AllPng}) {
        converter.options.outputMode = mode;
        for (const char* name : {"../up.cg", "/abs.cg", "a/b.cg"}) {
            EXPECT_THROW(Convert(picture, name), FatalError) << name;
        }
    }
    EXPECT_EQ(FilesIn(dir.path()), (std::vector<std::string>{"exe", "in"}));
    EXPECT_TRUE(FilesIn(exeDir()).empty());
}
