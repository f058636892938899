#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "cli/batch_schedule.h"

using orv::ConvertResult;
using orv::cli::BatchSchedule;
using Waits = std::vector<std::vector<std::size_t>>;

TEST(BatchSchedule, HandsInputsOverInOrderAndEndsWhenAllAreOut)
{
    BatchSchedule schedule(Waits{{}, {}, {}});
    EXPECT_EQ(schedule.Next(), 0u);
    EXPECT_EQ(schedule.Next(), 1u);
    EXPECT_EQ(schedule.Next(), 2u);
    EXPECT_EQ(schedule.Next(), std::nullopt);
}

TEST(BatchSchedule, AWaitingInputLetsLaterOnesPassAndComesWhenItsInputEnds)
{
    BatchSchedule schedule(Waits{{}, {0}, {}});
    EXPECT_EQ(schedule.Next(), 0u);
    EXPECT_EQ(schedule.Next(), 2u);
    schedule.Finish(2, ConvertResult::Finished);
    schedule.Finish(0, ConvertResult::Finished);
    EXPECT_EQ(schedule.Next(), 1u);
}

TEST(BatchSchedule, NextWaitsWhileEveryInputLeftWaitsForOneUnderWay)
{
    BatchSchedule schedule(Waits{{}, {0}});
    ASSERT_EQ(schedule.Next(), 0u);
    auto second = std::async(std::launch::async, [&] { return schedule.Next(); });
    EXPECT_EQ(second.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
    schedule.Finish(0, ConvertResult::Finished);
    EXPECT_EQ(second.get(), 1u);
}

TEST(BatchSchedule, AfterAFatalErrorOnlyEarlierInputsGoOn)
{
    BatchSchedule schedule(Waits{{}, {}, {}, {}, {0}});
    for (std::size_t input = 0; input < 4; ++input) ASSERT_EQ(schedule.Next(), input);
    schedule.Fail(2, orv::FatalError("two"));
    EXPECT_FALSE(schedule.MustStop(0));
    EXPECT_FALSE(schedule.MustStop(1));
    EXPECT_TRUE(schedule.MustStop(3));
    // Input 4 comes after the failed one: it is never handed over.
    schedule.Finish(0, ConvertResult::Finished);
    EXPECT_EQ(schedule.Next(), std::nullopt);
    EXPECT_STREQ(schedule.Fatal()->what(), "two");

    // An earlier input failing later is the one whose text counts.
    schedule.Fail(1, orv::FatalError("one"));
    EXPECT_STREQ(schedule.Fatal()->what(), "one");
    EXPECT_FALSE(schedule.MustStop(0));
    EXPECT_TRUE(schedule.MustStop(2));
}

TEST(BatchSchedule, AFatalErrorWaitsForTheInputsBeforeIt)
{
    // Input 1 waits for input 0; input 2 fails meanwhile. Input 1 still comes, as a run in
    // command-line order converts it before reaching input 2.
    BatchSchedule schedule(Waits{{}, {0}, {}});
    ASSERT_EQ(schedule.Next(), 0u);
    ASSERT_EQ(schedule.Next(), 2u);
    schedule.Fail(2, orv::FatalError("fatal"));
    schedule.Finish(0, ConvertResult::Finished);
    EXPECT_EQ(schedule.Next(), 1u);
}

TEST(BatchSchedule, CtrlCStopsEveryInputAndHandsNothingMore)
{
    BatchSchedule schedule(Waits{{}, {}, {}});
    ASSERT_EQ(schedule.Next(), 0u);
    auto waiting = std::async(std::launch::async, [&] {
        BatchSchedule blocked(Waits{{}, {0}});
        blocked.Next();
        auto next = std::async(std::launch::async, [&] { return blocked.Next(); });
        blocked.Interrupt();
        return next.get();
    });
    schedule.Interrupt();
    EXPECT_TRUE(schedule.MustStop(0));
    EXPECT_TRUE(schedule.MustStop(2));
    EXPECT_EQ(schedule.Next(), std::nullopt);
    EXPECT_TRUE(schedule.Stopped());
    // A worker waiting for an input under way is let go as well.
    EXPECT_EQ(waiting.get(), std::nullopt);
}

TEST(BatchSchedule, OutcomeIsCancelledWhenCtrlCLeftWorkUndoneElseThatOfTheLastHandedOver)
{
    {
        BatchSchedule schedule(Waits{{}, {}, {}});
        for (std::size_t input = 0; input < 3; ++input) ASSERT_EQ(schedule.Next(), input);
        schedule.Finish(2, ConvertResult::Skipped);
        schedule.Finish(0, ConvertResult::Finished);
        schedule.Finish(1, ConvertResult::Finished);
        EXPECT_EQ(schedule.Outcome(), ConvertResult::Skipped);
    }
    {
        BatchSchedule schedule(Waits{{}, {}, {}});
        ASSERT_EQ(schedule.Next(), 0u);
        ASSERT_EQ(schedule.Next(), 1u);
        schedule.Finish(1, ConvertResult::Finished);
        schedule.Interrupt();
        schedule.Finish(0, ConvertResult::Cancelled);
        EXPECT_EQ(schedule.Outcome(), ConvertResult::Cancelled);
    }
    {
        // Inputs never handed over are work left undone.
        BatchSchedule schedule(Waits{{}, {}, {}});
        ASSERT_EQ(schedule.Next(), 0u);
        schedule.Finish(0, ConvertResult::Finished);
        schedule.Interrupt();
        EXPECT_TRUE(schedule.Stopped());
        EXPECT_EQ(schedule.Outcome(), ConvertResult::Cancelled);
    }
    {
        // Ctrl-C during the last entry of the last input: everything was done.
        BatchSchedule schedule(Waits{{}, {}});
        ASSERT_EQ(schedule.Next(), 0u);
        ASSERT_EQ(schedule.Next(), 1u);
        schedule.Finish(0, ConvertResult::NotOpened);
        schedule.Interrupt();
        schedule.Finish(1, ConvertResult::Finished);
        EXPECT_FALSE(schedule.Stopped());
        EXPECT_TRUE(schedule.AnyNotOpened());
        EXPECT_EQ(schedule.Outcome(), ConvertResult::Finished);
    }
    EXPECT_EQ(BatchSchedule(Waits{{}}).Outcome(), ConvertResult::Skipped);
}
