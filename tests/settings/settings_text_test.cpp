#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "settings/settings_file.h"

using namespace orv;

namespace {

constexpr std::int32_t kFallback = -77;

std::string JoinLines(std::initializer_list<std::string_view> lines, std::string_view lineBreak)
{
    std::string text;
    for (const std::string_view line : lines) {
        text += line;
        text += lineBreak;
    }
    return text;
}

std::unique_ptr<SettingsFile> FromLines(std::initializer_list<std::string_view> lines)
{
    return SettingsFile::FromBytes(JoinLines(lines, "\r\n"));
}

std::int32_t Frame(const SettingsFile& file, std::string_view section, std::string_view key)
{
    return file.IntegerValue(section, key, kFallback);
}

}  // namespace

TEST(SettingsExample, OpeningAnimation)
{
    const auto file
        = FromLines({"; opening animation", "[op01.ani]", "p3=1", "p4 = 4", "p5=-1", "P6=0x2", "p7=1 ; old"});
    EXPECT_EQ(Frame(*file, "op01.ani", "p3"), 1);
    EXPECT_EQ(Frame(*file, "op01.ani", "p4"), 4);
    EXPECT_EQ(Frame(*file, "op01.ani", "p5"), -1);
    EXPECT_EQ(Frame(*file, "op01.ani", "p6"), 2);
    EXPECT_EQ(Frame(*file, "op01.ani", "p7"), kFallback);
    EXPECT_EQ(file->TextValue("op01.ani", "p7", "none"), "1 ; old");
    EXPECT_EQ(Frame(*file, "op01.ani", "p2"), kFallback);
    EXPECT_EQ(Frame(*file, "OP01.ANI", "p3"), 1);
    EXPECT_EQ(Frame(*file, "OP01.ANI", "P4"), 4);
    EXPECT_EQ(Frame(*file, "op02.ani", "p3"), kFallback);
}

TEST(SettingsSections, KeyLinesBeforeTheFirstHeaderAreIgnored)
{
    const auto file = FromLines({"p3=5", "[op01.ani]", "p4=4"});
    EXPECT_EQ(Frame(*file, "op01.ani", "p3"), kFallback);
    EXPECT_EQ(Frame(*file, "", "p3"), kFallback);
    EXPECT_EQ(Frame(*file, "op01.ani", "p4"), 4);
}

TEST(SettingsSections, HeaderNameIsTrimmed)
{
    const auto file = FromLines({"  [ op01.ani ]\t", "p3=1"});
    EXPECT_EQ(Frame(*file, "op01.ani", "p3"), 1);
    // The requested name is taken as it is.
    EXPECT_EQ(Frame(*file, " op01.ani ", "p3"), kFallback);
}

TEST(SettingsSections, EmptyBracketsNameTheEmptySection)
{
    const auto file = FromLines({"[]", "p3=9"});
    EXPECT_EQ(Frame(*file, "", "p3"), 9);
    EXPECT_EQ(Frame(*file, "[]", "p3"), kFallback);
}

TEST(SettingsSections, NamesCompareIgnoringAsciiCase)
{
    const auto file = FromLines({"[OP01.ANI]", "P3=1"});
    EXPECT_EQ(Frame(*file, "op01.ani", "p3"), 1);
    EXPECT_EQ(Frame(*file, "Op01.Ani", "P3"), 1);
}

TEST(SettingsSections, CaseFoldingTouchesAsciiLettersOnly)
{
    // 0xC4 and 0xE4 are one letter in two cases in some single-byte encodings.
    const auto file = FromLines({"[\xC4.ani]", "p1=1", "[\xE4.ani]", "p1=2"});
    EXPECT_EQ(Frame(*file, "\xC4.ani", "p1"), 1);
    EXPECT_EQ(Frame(*file, "\xE4.ani", "p1"), 2);
    EXPECT_EQ(Frame(*file, "\xC4.ANI", "P1"), 1);

    const auto punctuation = FromLines({"[a.ani]", "p@=1", "p`=2", "p[=3", "p{=4"});
    EXPECT_EQ(Frame(*punctuation, "a.ani", "P@"), 1);
    EXPECT_EQ(Frame(*punctuation, "a.ani", "P`"), 2);
    EXPECT_EQ(Frame(*punctuation, "a.ani", "p["), 3);
    EXPECT_EQ(Frame(*punctuation, "a.ani", "p{"), 4);
}

TEST(SettingsSections, OnlyTheLastSectionOfANameIsConsulted)
{
    const auto file = FromLines({"[op01.ani]", "p3=1", "p4=4", "[op01.ani]", "p3=2"});
    EXPECT_EQ(Frame(*file, "op01.ani", "p3"), 2);
    EXPECT_EQ(Frame(*file, "op01.ani", "p4"), kFallback);
}

TEST(SettingsSections, AnEmptyLastSectionHidesEarlierOnes)
{
    const auto file = FromLines({"[op01.ani]", "p3=1", "[OP01.ani]"});
    EXPECT_EQ(Frame(*file, "op01.ani", "p3"), kFallback);
}

TEST(SettingsSections, OtherSectionsDoNotLeakIntoEachOther)
{
    const auto file = FromLines({"[a.ani]", "p1=1", "[b.ani]", "p2=2", "[c.ani]", "p3=3"});
    EXPECT_EQ(Frame(*file, "a.ani", "p1"), 1);
    EXPECT_EQ(Frame(*file, "a.ani", "p2"), kFallback);
    EXPECT_EQ(Frame(*file, "b.ani", "p2"), 2);
    EXPECT_EQ(Frame(*file, "b.ani", "p3"), kFallback);
    EXPECT_EQ(Frame(*file, "c.ani", "p3"), 3);
    EXPECT_EQ(Frame(*file, "c.ani", "p1"), kFallback);
}

TEST(SettingsSections, ManySectionsSharingBucketsAreAllFound)
{
    std::string text;
    for (int i = 0; i < 2000; ++i) text += "[s" + std::to_string(i) + "]\np1=" + std::to_string(i) + "\n";
    const auto file = SettingsFile::FromBytes(text);
    for (int i = 0; i < 2000; ++i) ASSERT_EQ(Frame(*file, "S" + std::to_string(i), "P1"), i) << i;
    EXPECT_EQ(Frame(*file, "s2000", "p1"), kFallback);
}

TEST(SettingsHeaders, ABracketAloneIsNoHeader)
{
    const auto file = FromLines({"[op01.ani]", "[", "p3=1"});
    EXPECT_EQ(Frame(*file, "op01.ani", "p3"), 1);
}

TEST(SettingsHeaders, TextAfterTheClosingBracketMakesNoHeader)
{
    const auto first = FromLines({"[op01.ani] ; frames", "p3=1"});
    EXPECT_EQ(Frame(*first, "op01.ani", "p3"), kFallback);

    const auto later = FromLines({"[a.ani]", "[op01.ani] ; frames", "p3=1"});
    EXPECT_EQ(Frame(*later, "op01.ani", "p3"), kFallback);
    EXPECT_EQ(Frame(*later, "a.ani", "p3"), 1);
}

TEST(SettingsHeaders, HeaderIsRecognisedBeforeAnyEqualsSign)
{
    const auto file = FromLines({"[a=b]", "p3=1"});
    EXPECT_EQ(Frame(*file, "a=b", "p3"), 1);
    EXPECT_EQ(Frame(*file, "a", "p3"), kFallback);
}

TEST(SettingsHeaders, SemicolonLinesAreComments)
{
    const auto file = FromLines({"[a.ani]", ";[b.ani]", "p3=1", "  ; p4=4", ";p5=5"});
    EXPECT_EQ(Frame(*file, "a.ani", "p3"), 1);
    EXPECT_EQ(Frame(*file, "b.ani", "p3"), kFallback);
    EXPECT_EQ(Frame(*file, "a.ani", "p4"), kFallback);
    EXPECT_EQ(Frame(*file, "a.ani", "; p4"), kFallback);
    EXPECT_EQ(Frame(*file, "a.ani", ";p5"), kFallback);
}

TEST(SettingsHeaders, UnclosedOrUnopenedBracketsMakeNoHeader)
{
    const auto file = FromLines({"[a.ani]", "[b.ani", "b.ani]", "p3=1"});
    EXPECT_EQ(Frame(*file, "a.ani", "p3"), 1);
    EXPECT_EQ(Frame(*file, "b.ani", "p3"), kFallback);
}

TEST(SettingsKeys, KeysCompareIgnoringCaseButWhole)
{
    const auto file = FromLines({"[op01.ani]", "p03=1", "P10=10"});
    EXPECT_EQ(Frame(*file, "op01.ani", "p3"), kFallback);
    EXPECT_EQ(Frame(*file, "op01.ani", "p03"), 1);
    EXPECT_EQ(Frame(*file, "op01.ani", "p10"), 10);
    EXPECT_EQ(Frame(*file, "op01.ani", "p1"), kFallback);
}

TEST(SettingsKeys, TheLaterOfTwoLinesWins)
{
    const auto file = FromLines({"[op01.ani]", "p3=1", "P3=2", "p4=4"});
    EXPECT_EQ(Frame(*file, "op01.ani", "p3"), 2);
    EXPECT_EQ(Frame(*file, "op01.ani", "p4"), 4);
}

TEST(SettingsKeys, EmptyValueAndMissingEqualsSign)
{
    const auto file = FromLines({"[op01.ani]", "p3=", "p4", "p5 =  "});
    EXPECT_EQ(file->TextValue("op01.ani", "p3", "none"), "");
    EXPECT_EQ(Frame(*file, "op01.ani", "p3"), kFallback);
    EXPECT_EQ(file->TextValue("op01.ani", "p4", "none"), "none");
    EXPECT_EQ(Frame(*file, "op01.ani", "p4"), kFallback);
    EXPECT_EQ(file->TextValue("op01.ani", "p5", "none"), "");
}

TEST(SettingsKeys, ALineWithoutEqualsSignHidesNoEarlierKey)
{
    const auto file = FromLines({"[op01.ani]", "p3=1", "p3"});
    EXPECT_EQ(Frame(*file, "op01.ani", "p3"), 1);
}

TEST(SettingsKeys, TheFirstEqualsSignSplitsKeyFromValue)
{
    const auto file = FromLines({"[a.ani]", " p3 \t= a = b ", "=5"});
    EXPECT_EQ(file->TextValue("a.ani", "p3", "none"), "a = b");
    EXPECT_EQ(file->TextValue("a.ani", "", "none"), "5");
}

TEST(SettingsKeys, ControlBytesAndBlanksAreTrimmedButNotDel)
{
    const auto file = FromLines({"\x01[a.ani]\x1F", "\x02p3\x03=\x04 7\x05", "p4=8\x7F"});
    EXPECT_EQ(Frame(*file, "a.ani", "p3"), 7);
    EXPECT_EQ(file->TextValue("a.ani", "p4", "none"), "8\x7F");
}

TEST(SettingsLineBreaks, CrOrLfOrCrLfFilesReadAlike)
{
    const std::initializer_list<std::string_view> lines
        = {"; opening", "[op01.ani]", "p3=1", "", "p4=4", "[b.ani]", "p1=2"};
    for (const std::string_view lineBreak : {"\r", "\n", "\r\n", "\n\r"}) {
        const auto file = SettingsFile::FromBytes(JoinLines(lines, lineBreak));
        EXPECT_EQ(Frame(*file, "op01.ani", "p3"), 1) << static_cast<int>(lineBreak[0]);
        EXPECT_EQ(Frame(*file, "op01.ani", "p4"), 4) << static_cast<int>(lineBreak[0]);
        EXPECT_EQ(Frame(*file, "op01.ani", "p1"), kFallback);
        EXPECT_EQ(Frame(*file, "b.ani", "p1"), 2) << static_cast<int>(lineBreak[0]);
    }
}

TEST(SettingsLineBreaks, MixedBreaksAndNoBreakAtTheEnd)
{
    const auto file = SettingsFile::FromBytes("[a.ani]\rp1=1\np2=2\r\n\n\rp3=3\n\r\np4=4");
    EXPECT_EQ(Frame(*file, "a.ani", "p1"), 1);
    EXPECT_EQ(Frame(*file, "a.ani", "p2"), 2);
    EXPECT_EQ(Frame(*file, "a.ani", "p3"), 3);
    EXPECT_EQ(Frame(*file, "a.ani", "p4"), 4);
}

TEST(SettingsLineBreaks, ABreakEndsAValue)
{
    const auto file = SettingsFile::FromBytes("[a.ani]\np1=1\r2\np2=3\n4");
    EXPECT_EQ(Frame(*file, "a.ani", "p1"), 1);
    EXPECT_EQ(Frame(*file, "a.ani", "p2"), 3);
}

TEST(SettingsBytes, ZeroByteEndsTheText)
{
    using namespace std::string_literals;
    const auto file = SettingsFile::FromBytes("[a.ani]\np1=12\0"
                                              "34\np2=2\n[b.ani]\np3=3\n"s);
    EXPECT_EQ(Frame(*file, "a.ani", "p1"), 12);
    EXPECT_EQ(Frame(*file, "a.ani", "p2"), kFallback);
    EXPECT_EQ(Frame(*file, "b.ani", "p3"), kFallback);
}

TEST(SettingsBytes, ByteOrderMarkIsNotRecognised)
{
    const auto file = SettingsFile::FromBytes("\xEF\xBB\xBF[op01.ani]\r\np3=1\r\n");
    EXPECT_EQ(Frame(*file, "op01.ani", "p3"), kFallback);
    EXPECT_EQ(Frame(*file, "\xEF\xBB\xBFop01.ani", "p3"), kFallback);
}

TEST(SettingsBytes, ByteOrderMarkBeforeALaterHeaderIsJustBytesOfAKeylessLine)
{
    const auto file = SettingsFile::FromBytes("[a.ani]\n\xEF\xBB\xBF[op01.ani]\np3=1\n");
    EXPECT_EQ(Frame(*file, "a.ani", "p3"), 1);
}

TEST(SettingsBytes, EmptyTextHasNoSections)
{
    const auto file = SettingsFile::FromBytes("");
    EXPECT_EQ(Frame(*file, "", ""), kFallback);
    EXPECT_EQ(file->TextValue("op01.ani", "p3", "none"), "none");
}

TEST(SettingsThreads, FirstLookupsFromManyThreadsAtOnce)
{
    std::string text;
    for (int section = 0; section < 50; ++section) {
        text += "[s" + std::to_string(section) + ".ani]\n";
        for (int frame = 0; frame < 20; ++frame) {
            const int value = section * 100 + frame;
            text += "p" + std::to_string(frame) + "=" + std::to_string(value) + "\n";
        }
    }
    for (int round = 0; round < 20; ++round) {
        const auto file = SettingsFile::FromBytes(text);
        std::vector<int> wrong(8, 0);
        std::vector<std::thread> workers;
        for (int worker = 0; worker < 8; ++worker) {
            workers.emplace_back([&file, &wrong, worker] {
                for (int section = 0; section < 50; ++section) {
                    const std::string name = "S" + std::to_string((section + worker) % 50) + ".ANI";
                    for (int frame = 0; frame < 20; ++frame) {
                        const int expected = (section + worker) % 50 * 100 + frame;
                        if (file->IntegerValue(name, "P" + std::to_string(frame), -1) != expected) ++wrong[worker];
                    }
                }
            });
        }
        for (std::thread& worker : workers) worker.join();
        for (int worker = 0; worker < 8; ++worker) EXPECT_EQ(wrong[worker], 0) << worker;
    }
}
