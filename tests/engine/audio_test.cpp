#include <gtest/gtest.h>

#include "engine_fixture.h"
#include "engine/base/fatal_error.h"

using namespace orv;
using orv::tools::Bytes;

namespace {

Bytes Sound(std::uint8_t code, std::size_t sampleBytes, std::uint8_t seed = 1)
{
    Bytes entry{0x12, 0x34, 0x56, code};
    for (std::size_t i = 0; i < sampleBytes; ++i) entry.push_back(static_cast<std::uint8_t>(i * 31 + seed + i / 977));
    return entry;
}

std::uint32_t Le(const Bytes& b, std::size_t at, int bytes)
{
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | b[at + static_cast<std::size_t>(i)];
    return value;
}

std::string Text(const Bytes& b, std::size_t at)
{
    return std::string(b.begin() + static_cast<std::ptrdiff_t>(at), b.begin() + static_cast<std::ptrdiff_t>(at) + 4);
}

}  // namespace

class AudioTest : public EngineTest {
protected:
    AudioTest() { converter.outDir = exeDir().string() + "/"; }

    void FromMemory(const Bytes& sound, std::string_view name = "voice.pcm")
    {
        Bytes record;
        tools::AppendRecord(record, name, 0, static_cast<std::uint32_t>(sound.size()));
        converter.WriteWaveFromMemory(sound.data(), ParseArchiveEntry(record.data()));
    }

    // Converts an archive holding the one sound entry; returns the WAV's bytes.
    Bytes ThroughArchive(const Bytes& sound, const std::string& archive = "sound.dat")
    {
        Input(archive, tools::BuildPack({{"voice.pcm", sound}}));
        EXPECT_EQ(converter.ConvertInputFile(), ConvertResult::Finished);
        return ReadAll(converter.outDir + "voice.wav");
    }
};

TEST_F(AudioTest, HeaderFieldsForEachFormatCode)
{
    struct Case {
        std::uint8_t code;
        std::uint32_t channels, rate, byteRate, align;
    };
    for (const Case& c : {Case{6, 1, 22050, 44100, 2}, Case{7, 2, 22050, 88200, 4}, Case{10, 2, 44100, 176400, 4}}) {
        const Bytes sound = Sound(c.code, 10);
        FromMemory(sound);
        const Bytes wav = ReadAll(exeDir() / "voice.wav");
        ASSERT_EQ(wav.size(), 54u) << int{c.code};
        EXPECT_EQ(Text(wav, 0), "RIFF");
        EXPECT_EQ(Le(wav, 4, 4), 46u);
        EXPECT_EQ(Text(wav, 8), "WAVE");
        EXPECT_EQ(Text(wav, 12), "fmt ");
        EXPECT_EQ(Le(wav, 16, 4), 16u);
        EXPECT_EQ(Le(wav, 20, 2), 1u);
        EXPECT_EQ(Le(wav, 22, 2), c.channels);
        EXPECT_EQ(Le(wav, 24, 4), c.rate);
        EXPECT_EQ(Le(wav, 28, 4), c.byteRate);
        EXPECT_EQ(Le(wav, 32, 2), c.align);
        EXPECT_EQ(Le(wav, 34, 2), 16u);
        EXPECT_EQ(Text(wav, 36), "data");
        EXPECT_EQ(Le(wav, 40, 4), 10u);
        EXPECT_EQ(Bytes(wav.begin() + 44, wav.end()), Bytes(sound.begin() + 4, sound.end()));
    }
}

TEST_F(AudioTest, HeaderOnlyEntriesAndOddLengths)
{
    FromMemory(Bytes{0, 0, 0, 6}, "empty.pcm");
    const Bytes empty = ReadAll(exeDir() / "empty.wav");
    ASSERT_EQ(empty.size(), 44u);
    EXPECT_EQ(Le(empty, 4, 4), 36u);
    EXPECT_EQ(Le(empty, 40, 4), 0u);

    FromMemory(Sound(7, 5), "odd.pcm");
    const Bytes odd = ReadAll(exeDir() / "odd.wav");
    EXPECT_EQ(odd.size(), 49u);
    EXPECT_EQ(Le(odd, 40, 4), 5u);
}

TEST_F(AudioTest, NamesLoseTheirExtension)
{
    FromMemory(Sound(6, 2), "bgm01.pcm");
    FromMemory(Sound(6, 2), "voice_pcm");
    EXPECT_EQ(FilesIn(exeDir()), (std::vector<std::string>{"bgm01.wav", "voice_pcm.wav"}));
}

TEST_F(AudioTest, TheFirstThreeHeaderBytesDoNotMatter)
{
    Bytes a = Sound(10, 8), b = a;
    b[0] = 0xFF;
    b[1] = 0x00;
    b[2] = 0x77;
    FromMemory(a, "a.pcm");
    FromMemory(b, "b.pcm");
    EXPECT_EQ(ReadAll(exeDir() / "a.wav"), ReadAll(exeDir() / "b.wav"));
}

TEST_F(AudioTest, UnknownCodesFromMemoryLeaveNoFile)
{
    for (const std::uint8_t code : {0, 8, 255}) {
        try {
            FromMemory(Sound(code, 6));
            ADD_FAILURE() << "code " << int{code} << " was accepted";
        } catch (const FatalError& error) {
            EXPECT_EQ(std::string(error.what()), "未知の形式です！\n" + converter.outDir + "voice.wav\n終了します。");
        }
        EXPECT_TRUE(FilesIn(exeDir()).empty());
    }
    // Shorter than its header: the missing bytes count as zero, code 0.
    EXPECT_THROW(FromMemory(Bytes{1, 2, 10}), FatalError);
}

TEST_F(AudioTest, UnknownCodesStreamedCreateNoFile)
{
    Input("big.dat", tools::BuildPack({{"voice.pcm", Sound(9, kSoundStreamThreshold)}}));
    try {
        converter.ConvertInputFile();
        FAIL() << "code 9 was accepted";
    } catch (const FatalError& error) {
        EXPECT_EQ(std::string(error.what()), "未知の形式です！\n" + converter.outDir + "voice.wav\n終了します。");
    }
    EXPECT_TRUE(FilesIn(exeDir() / "big").empty());
}

TEST_F(AudioTest, StreamedAndInMemoryGiveTheSameFileAcrossChunkBoundaries)
{
    // 2,862,055 bytes are read whole; larger entries pass through one chunk:
    // 2,862,056 (no full chunk), 2,862,060 (one chunk and 1 byte), 5,724,114 (two).
    for (const std::size_t size :
         {std::size_t{kSoundStreamThreshold}, std::size_t{kSoundStreamThreshold} + 1,
          std::size_t{kSoundStreamThreshold} + 5, 4 + 2 * std::size_t{kSoundStreamThreshold}}) {
        const Bytes sound = Sound(10, size - 4, static_cast<std::uint8_t>(size));
        const Bytes viaArchive = ThroughArchive(sound);
        // Nothing above the chunk size is ever read whole.
        EXPECT_EQ(converter.dataBlockBytes(), kSoundStreamThreshold) << size;
        FromMemory(sound, "memory.pcm");
        const Bytes fromMemory = ReadAll(exeDir() / "sound" / "memory.wav");
        EXPECT_EQ(viaArchive.size(), size + 40) << size;
        EXPECT_TRUE(viaArchive == fromMemory) << size;
        EXPECT_TRUE(std::equal(sound.begin() + 4, sound.end(), viaArchive.begin() + 44)) << size;
    }
}
