// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The cooperative wait, through the sequence's WaitTimer and on fakes.

#include <limits>

#include <gtest/gtest.h>

#include "rig.h"

namespace sorinel::playback::testing {
namespace {

struct WaitRow {
    double startLocal;
    std::int32_t sc;
    double expectedSeconds;  // by the monotonic clock
};

class WaitTimerDurationTest : public ::testing::TestWithParam<WaitRow> {};

TEST_P(WaitTimerDurationTest, EndsAtTheFirstReadingPastTheRoundedDeadline)
{
    const auto row = GetParam();
    Rig rig;
    rig.clock.local = row.startLocal;
    const double before = rig.clock.monotonic;
    const double result = rig.seq->WaitTimer(row.sc);
    const double waited = rig.clock.monotonic - before;
    // A float reading of the local clock near midnight is good to about 8 ms;
    // the strict test adds a small step beyond the deadline.
    EXPECT_NEAR(waited, row.expectedSeconds, 0.006) << row.startLocal;
    EXPECT_FLOAT_EQ(static_cast<float>(result), static_cast<float>(rig.clock.local));
}

INSTANTIATE_TEST_SUITE_P(Rows, WaitTimerDurationTest,
                         ::testing::Values(WaitRow{100.4, 1, 0.6},  // start 100, ends above 101
                                           WaitRow{100.5, 1, 0.5},  // the even neighbour: start 100
                                           WaitRow{100.6, 1, 1.4},  // start 101, ends above 102
                                           WaitRow{101.5, 1, 1.5},  // start 102
                                           WaitRow{100.4, 2, 1.6}, WaitRow{100.6, 2, 2.4}, WaitRow{100.0, 0, 0.0},
                                           WaitRow{100.4, -1, 0.0},
                                           // Across midnight the local clock restarts at 0 and never
                                           // passes 86401, yet the wait still lasts its time.
                                           WaitRow{86399.7, 1, 1.3}, WaitRow{86399.2, 2, 1.8}));

TEST(WaitTimerTest, ResultIsAboveTheDeadlineAndTheWaitBlocksInsteadOfSpinning)
{
    Rig rig;
    rig.clock.local = 100.4;
    const double result = rig.seq->WaitTimer(1);
    EXPECT_GT(result, 101.0);
    // With nothing to handle, one blocking wait covers the whole span.
    EXPECT_EQ(rig.pump.waitCalls, 1);
}

TEST(WaitTimerTest, HandlesEventsAsTheyArriveDuringTheWait)
{
    Rig rig;
    rig.clock.local = 100.6;  // a 1.4 s wait
    const double begun = rig.clock.monotonic;
    std::vector<double> handledAt;
    for (double at : {0.1, 0.7, 1.3})
        rig.pump.after(at, [&] { handledAt.push_back(rig.clock.monotonic - begun); });
    rig.pump.after(1.6, [&] { handledAt.push_back(-1.0); });  // after the wait

    rig.seq->WaitTimer(1);

    ASSERT_EQ(handledAt.size(), 3u);
    EXPECT_NEAR(handledAt[0], 0.1, 1e-9);
    EXPECT_NEAR(handledAt[1], 0.7, 1e-9);
    EXPECT_NEAR(handledAt[2], 1.3, 1e-9);
    // One blocking wait per event, and one to reach the deadline: no spinning.
    EXPECT_EQ(rig.pump.waitCalls, 4);
}

TEST(WaitTimerTest, TimerTicksRunInsideTheWait)
{
    Rig rig;
    rig.timer1.prime(0, true);
    int ticks = 0;
    rig.timer2.onTick = [&] { ++ticks; };
    rig.timer2.prime(200, true);
    rig.clock.local = 100.6;
    rig.seq->WaitTimer(1);  // 1.4 s: ticks at 0.2 .. 1.4
    EXPECT_GE(ticks, 6);
    EXPECT_LE(ticks, 7);
}

TEST(WaitTimerTest, NestedWaitRunsToItsEndBeforeTheOuterGoesOn)
{
    Rig rig;
    rig.clock.local = 100.4;  // outer: 0.6 s
    const double begun = rig.clock.monotonic;
    double innerEndedAt = 0.0;
    rig.pump.after(0.3, [&] {
        rig.seq->WaitTimer(2);  // begun at 100.7: start 101, ends above 103
        innerEndedAt = rig.clock.monotonic - begun;
    });
    rig.seq->WaitTimer(1);
    EXPECT_NEAR(innerEndedAt, 2.6, 0.005);
    // The outer deadline had long passed: it returns as soon as the inner did.
    EXPECT_NEAR(rig.clock.monotonic - begun, 2.6, 0.005);
}

TEST(WaitTimerTest, OverflowOfTheDeadlineEndsAtOnceWithZero)
{
    Rig rig;
    rig.clock.local = 100.0;
    const double before = rig.clock.monotonic;
    EXPECT_EQ(rig.seq->WaitTimer(std::numeric_limits<std::int32_t>::max()), 0.0);
    EXPECT_EQ(rig.clock.monotonic, before);
    EXPECT_EQ(rig.pump.waitCalls, 0);
    // The largest sc that still fits waits normally (bounded here by ending
    // the program from inside the wait).
    rig.pump.after(1.0, [&] { rig.seq->endProgram(); });
    EXPECT_GT(rig.seq->WaitTimer(std::numeric_limits<std::int32_t>::max() - 100), 0.0);
    EXPECT_NEAR(rig.clock.monotonic - before, 1.0, 1e-9);
}

TEST(WaitTimerTest, EndingTheProgramEndsThisAndEveryLaterWaitAtOnce)
{
    Rig rig;
    rig.clock.local = 100.6;
    const double begun = rig.clock.monotonic;
    rig.pump.after(0.2, [&] { rig.seq->endProgram(); });
    rig.seq->WaitTimer(1);
    EXPECT_NEAR(rig.clock.monotonic - begun, 0.2, 1e-9);
    rig.seq->WaitTimer(2);
    EXPECT_NEAR(rig.clock.monotonic - begun, 0.2, 1e-9);
}

}  // namespace
}  // namespace sorinel::playback::testing
