#include <gtest/gtest.h>

#include <cstring>

#include "engine/base/scratch_buffer.h"

using orv::ScratchBuffer;

TEST(ScratchBuffer, SmallerRequestReusesBlockAndZeroesOnlyWhatIsAsked)
{
    ScratchBuffer buffer;
    std::uint8_t* first = buffer.EnsureCapacity(100, false);
    ASSERT_NE(first, nullptr);
    std::memset(first, 0xAB, 100);

    std::uint8_t* second = buffer.EnsureCapacity(40, true);
    EXPECT_EQ(second, first);
    EXPECT_EQ(buffer.capacity(), 100u);
    for (int i = 0; i < 40; ++i) EXPECT_EQ(second[i], 0) << i;
    for (int i = 40; i < 100; ++i) EXPECT_EQ(second[i], 0xAB) << i;

    std::uint8_t* third = buffer.EnsureCapacity(100, false);
    EXPECT_EQ(third, first);
    EXPECT_EQ(third[99], 0xAB);
}

TEST(ScratchBuffer, LargerRequestGetsAFreshBlockOfExactlyThatSize)
{
    ScratchBuffer buffer;
    std::memset(buffer.EnsureCapacity(16, false), 0xCD, 16);
    std::uint8_t* grown = buffer.EnsureCapacity(4096, true);
    ASSERT_NE(grown, nullptr);
    EXPECT_EQ(buffer.capacity(), 4096u);
    for (int i = 0; i < 4096; ++i) ASSERT_EQ(grown[i], 0) << i;
}

TEST(ScratchBuffer, ZeroBytesReleasesTheBlockAndIsNotNull)
{
    ScratchBuffer buffer;
    ASSERT_NE(buffer.EnsureCapacity(64, false), nullptr);
    EXPECT_NE(buffer.EnsureCapacity(0, true), nullptr);
    EXPECT_EQ(buffer.capacity(), 0u);
    ASSERT_NE(buffer.EnsureCapacity(10, false), nullptr);
    EXPECT_EQ(buffer.capacity(), 10u);
}

TEST(ScratchBuffer, RequestsAboveTheLimitAreMemoryThatCannotBeObtained)
{
    ScratchBuffer buffer;
    ASSERT_NE(buffer.EnsureCapacity(64, false), nullptr);
    EXPECT_EQ(buffer.EnsureCapacity(orv::kMaxScratchBytes + 1, false), nullptr);
    EXPECT_EQ(buffer.capacity(), 0u);
    EXPECT_EQ(buffer.EnsureCapacity(0xFFFFFFFFu, true), nullptr);
}
