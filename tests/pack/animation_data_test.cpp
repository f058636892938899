#include <gtest/gtest.h>

#include <vector>

#include "tools/ani_writer.h"

using orv::tools::BuildAnimation;
using orv::tools::Bytes;

TEST(AniWriter, TableHoldsEachFrameStartFromTheDataStart)
{
    // Three table slots (12 bytes), then frames of 3, 0 and 1 bytes.
    EXPECT_EQ(BuildAnimation({{1, 2, 3}, {}, {9}}), (Bytes{12, 0, 0, 0, 15, 0, 0, 0, 15, 0, 0, 0, 1, 2, 3, 9}));
}

TEST(AniWriter, OffsetsAreLittleEndian)
{
    const Bytes data = BuildAnimation({Bytes(300, 7), Bytes(2, 8)});
    ASSERT_EQ(data.size(), 8u + 302u);
    // The second frame starts at 8 + 300 = 0x134.
    EXPECT_EQ(Bytes(data.begin(), data.begin() + 8), (Bytes{8, 0, 0, 0, 0x34, 0x01, 0, 0}));
    EXPECT_EQ(data[8], 7);
    EXPECT_EQ(data[308], 8);
}

TEST(AniWriter, NoFramesGiveNoBytes)
{
    EXPECT_TRUE(BuildAnimation({}).empty());
}
