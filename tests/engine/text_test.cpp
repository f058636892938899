#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/base/text.h"

using namespace orv;

TEST(PathText, FileNameExtensionAndStem)
{
    EXPECT_EQ(FileNamePart("/data/game/DATA01.DAT"), "DATA01.DAT");
    EXPECT_EQ(FileNamePart("plain.dat"), "plain.dat");
    EXPECT_EQ(ExtensionOf("archive.v2.dat"), ".dat");
    EXPECT_EQ(ExtensionOf("noext"), "");
    EXPECT_EQ(WithoutExtension("archive.v2.dat"), "archive.v2");
    EXPECT_EQ(WithoutExtension("noext"), "noext");
    EXPECT_EQ(WithoutExtension(".dat"), "");
}

TEST(PathText, LowerCasingTouchesAsciiLettersOnly)
{
    EXPECT_EQ(AsciiLower("Walk.ANI"), "walk.ani");
    EXPECT_EQ(AsciiLower("\xE6\xAD\xA9"
                         "Ab.DAT"),
              "\xE6\xAD\xA9"
              "ab.dat");
}

TEST(Cp932Names, ConvertToUtf8)
{
    // "タイトル.txt" and "ソ", whose second byte is the backslash byte.
    EXPECT_EQ(Cp932ToUtf8("\x83\x5e\x83\x43\x83\x67\x83\x8b.txt"), "タイトル.txt");
    EXPECT_EQ(Cp932ToUtf8("\x83\x5c"), "ソ");
    EXPECT_EQ(Cp932ToUtf8("a\\b"), "a\\b");
}

TEST(Cp932Names, BytesThatDoNotConvertAreEscaped)
{
    EXPECT_EQ(Cp932ToUtf8("a\xA0"
                          "b"),
              "a%A0b");
    // A lead byte with nothing after it.
    EXPECT_EQ(Cp932ToUtf8("x\x83"), "x%83");
    EXPECT_EQ(Cp932ToUtf8("\xFF\xFF"), "%FF%FF");
}

TEST(Cp932Names, ControlBytesAreEscapedSoANameIsOneLineOnATerminal)
{
    EXPECT_EQ(Cp932ToUtf8("a\nb\tc\x1b[2J\x7f.txt"), "a%0Ab%09c%1B[2J%7F.txt");
    // Between two-byte characters, and after a lead byte that lost its second byte.
    EXPECT_EQ(Cp932ToUtf8("\x83\x5e\r\x83\x43"), "タ%0Dイ");
    EXPECT_EQ(Cp932ToUtf8("\x83\n"), "%83%0A");
    EXPECT_EQ(EscapeControlBytes("/tmp/a\nb\x1b/\xE6\xAD\xA9.dat"), "/tmp/a%0Ab%1B/\xE6\xAD\xA9.dat");
}

TEST(Cp932Names, APercentSignThatWouldReadAsAnEscapeIsEscapedItself)
{
    const std::vector<std::pair<std::string, std::string>> cases{
        {"%01.txt", "%2501.txt"},
        {"100%41.txt", "100%2541.txt"},
        {"%ff%Ab", "%25ff%25Ab"},
        {"%%41", "%%2541"},
        {"%\x01", "%%01"},
        {"50%.txt", "50%.txt"},
        {"%4", "%4"},
        {"%G1%", "%G1%"},
        {"\x83\x5e%7F", "タ%257F"},
    };
    for (const auto& [stored, shown] : cases) EXPECT_EQ(Cp932ToUtf8(stored), shown) << stored;
}

TEST(Cp932Names, SeparatorsOfTheirOwnBecomeUnderscoresButSecondBytesStay)
{
    // "¥" is stored as the backslash byte; "ソ" has it as its second byte.
    EXPECT_EQ(Cp932WithoutSeparators(Utf8ToCp932("¥.ani", 15)), "_.ani");
    EXPECT_EQ(Cp932WithoutSeparators("a\\b/c.ani"), "a_b_c.ani");
    EXPECT_EQ(Cp932WithoutSeparators("\x83\x5c\\.ani"), "\x83\x5c_.ani");
}

TEST(Cp932Names, FromUtf8WithinALimitNeverSplitsACharacter)
{
    EXPECT_EQ(Utf8ToCp932("歩く.ani", 15), "\x95\xe0\x82\xad.ani");
    // Eight characters of two bytes each: 15 bytes hold seven of them.
    EXPECT_EQ(Utf8ToCp932("あいうえおかきく", 15).size(), 14u);
    EXPECT_EQ(Utf8ToCp932("abcdefghijklmnopqrst", 15), "abcdefghijklmno");
    EXPECT_EQ(Utf8ToCp932("walk.ani", 15), "walk.ani");
}

TEST(Cp932Names, CharactersCp932LacksBecomeUnderscores)
{
    EXPECT_EQ(Utf8ToCp932("caf\xC3\xA9.ani", 15), "caf_.ani");
    EXPECT_EQ(Utf8ToCp932("bad\xFF.ani", 15), "bad_.ani");
}

TEST(PlainFileNames, RefuseAnythingThatLeavesTheFolder)
{
    EXPECT_TRUE(IsPlainFileName("readme.txt"));
    EXPECT_TRUE(IsPlainFileName("..."));
    EXPECT_TRUE(IsPlainFileName(".hidden"));
    for (const char* name : {"", ".", "..", "a/b", "../x", "a\\b", "/"}) EXPECT_FALSE(IsPlainFileName(name)) << name;
}
