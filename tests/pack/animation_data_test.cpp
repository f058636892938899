#include <gtest/gtest.h>

#include <vector>

#include "pack/encode/animation_data.h"
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

// Frames copied raw run to the end of the data: the longest goes last and a tail of it
// starts inside it; one that is no tail of it runs on into it, and is reported.
TEST(AnimationLayout, RawFramesEndTheData)
{
    using orv::pack::AnimationFrame;
    std::vector<std::uint32_t> longer;
    const std::vector<AnimationFrame> tails{{{0, 1, 2}, false}, {{5, 9, 8, 7}, true}, {{8, 7}, true}};
    EXPECT_EQ(orv::pack::LayOutAnimation(tails, longer),
              (Bytes{12, 0, 0, 0, 15, 0, 0, 0, 17, 0, 0, 0, 0, 1, 2, 5, 9, 8, 7}));
    EXPECT_TRUE(longer.empty());

    const std::vector<AnimationFrame> apart{{{0, 1, 2}, false}, {{5, 9, 8, 7}, true}, {{6}, true}};
    EXPECT_EQ(orv::pack::LayOutAnimation(apart, longer),
              (Bytes{12, 0, 0, 0, 16, 0, 0, 0, 15, 0, 0, 0, 0, 1, 2, 6, 5, 9, 8, 7}));
    EXPECT_EQ(longer, std::vector<std::uint32_t>{3});

    // Frame 1 starts where the table ends, so it stays first even when copied raw.
    longer.clear();
    const std::vector<AnimationFrame> first{{{6, 6}, true}, {{0, 3}, false}};
    EXPECT_EQ(orv::pack::LayOutAnimation(first, longer), (Bytes{8, 0, 0, 0, 10, 0, 0, 0, 6, 6, 0, 3}));
    EXPECT_EQ(longer, std::vector<std::uint32_t>{1});
}
