#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tools/sound_writer.h"

using orv::tools::BuildSoundEntry;
using orv::tools::Bytes;
using orv::tools::SineSamples;

using Samples = std::vector<std::int16_t>;

TEST(SoundWriter, EntryIsTheFormatCodeThenLittleEndianSamples)
{
    EXPECT_EQ(BuildSoundEntry(7, {0, 1, -1, 0x1234, -32768, 32767}),
              (Bytes{0, 0, 0, 7, 0x00, 0x00, 0x01, 0x00, 0xFF, 0xFF, 0x34, 0x12, 0x00, 0x80, 0xFF, 0x7F}));
}

TEST(SoundWriter, EntryWithoutSamplesIsTheHeaderAlone)
{
    EXPECT_EQ(BuildSoundEntry(10, {}), (Bytes{0, 0, 0, 10}));
}

TEST(SoundWriter, SineOfAQuarterOfTheRateStepsThroughPeaksAndZeroes)
{
    EXPECT_EQ(SineSamples(4, 4, {{1.0}}, 1000.0, 0), (Samples{0, 1000, 0, -1000}));
}

TEST(SoundWriter, StereoChannelsAreInterleaved)
{
    // Left: 100 sin(2 pi i / 8), 70.71 rounding to 71. Right: 100 sin(pi i / 2).
    EXPECT_EQ(SineSamples(8, 4, {{1.0}, {2.0}}, 100.0, 0), (Samples{0, 0, 71, 100, 100, 0, 71, -100}));
}

TEST(SoundWriter, FrequenciesOfAChannelAddUpAndClampTo16Bits)
{
    EXPECT_EQ(SineSamples(4, 4, {{1.0, 1.0}}, 1000.0, 0), (Samples{0, 2000, 0, -2000}));
    EXPECT_EQ(SineSamples(4, 4, {{1.0, 1.0}}, 30000.0, 0), (Samples{0, 32767, 0, -32768}));
}

TEST(SoundWriter, FadesRiseFromAndFallToSilence)
{
    // Gains 0, 1/2, 1, 1, 1, 1/2, 0 over 1000 sin(pi i / 2).
    EXPECT_EQ(SineSamples(4, 7, {{1.0}}, 1000.0, 2), (Samples{0, 500, 0, -1000, 0, 500, 0}));
}
