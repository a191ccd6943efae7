// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Whole cycles through the player: files play one after another by
// themselves, each advance happens once, and the list's end is respected.

#include <gtest/gtest.h>

#include "rig.h"

namespace sorinel::playback::testing {
namespace {

// Sequences A and C: natural ends, list order, no wrap.
TEST(PlayCycleTest, NaturalEndsPlayTheListOnceThenStop)
{
    Rig rig;
    rig.listloop_chk.checked = 0;
    rig.player.defaultDuration = 10.0;
    rig.list.userSelects(0);

    rig.pump.runFor(10.1);  // a has ended: the confirmation runs
    EXPECT_EQ(rig.timer2.interval(), 200);
    EXPECT_EQ(rig.seq->nextfl, 0);
    rig.pump.runFor(2.0);  // the tick, then NextPlay
    EXPECT_EQ(rig.filesStarted(), (std::vector<std::string>{rig.path(0), rig.path(1)}));
    EXPECT_EQ(rig.timer2.interval(), 0);
    EXPECT_EQ(rig.seq->nextfl, 1);  // b's transitioning report armed the machine again
    EXPECT_EQ(rig.seq->i, 1);

    rig.pump.runFor(60.0);
    EXPECT_EQ(rig.filesStarted(), (std::vector<std::string>{rig.path(0), rig.path(1), rig.path(2)}));
    // C: the last entry without wrap: unloaded, nothing selected, i kept.
    EXPECT_EQ(rig.player.url(), "");
    EXPECT_EQ(rig.player.playState(), PlayState::Stopped);
    EXPECT_EQ(rig.list.selected, -1);
    EXPECT_EQ(rig.seq->i, 2);
    EXPECT_EQ(rig.timer2.interval(), 0);
    EXPECT_EQ(rig.player.stopCalls, 3);
}

TEST(PlayCycleTest, WrapGoesRoundTheListWithoutPassingOverAnEntry)
{
    Rig rig;
    rig.player.defaultDuration = 4.0;
    rig.list.userSelects(1);
    rig.pump.runFor(30.0);
    const auto started = rig.filesStarted();
    ASSERT_GE(started.size(), 6u);
    for (std::size_t k = 0; k < started.size(); ++k)
        EXPECT_EQ(started[k], rig.path(static_cast<int>((k + 1) % 3))) << k;
}

// Sequence B: the end cut, with the confirmation tick handled inside
// NextPlay's pumping point: its own stop must not advance a second time.
TEST(PlayCycleTest, EndCutAdvancesOnceWhenTheTickComesInsideNextPlay)
{
    Rig rig;
    rig.player.defaultDuration = 20.0;
    rig.endTime.content = "5";
    rig.list.userSelects(0);
    ASSERT_EQ(rig.seq->nextfl, 1);
    // Make NextPlay's pumping point after the unload last long enough for
    // the confirmation's first tick.
    bool tickInside = false;
    rig.pump.atPendingWhen([&] { return rig.player.stopCalls == 1 && rig.player.url().empty(); },
                           [&] {
                               rig.pump.processPending();  // the stop's report starts the confirmation
                               tickInside = rig.timer2.interval() == 200;
                               rig.clock.advance(0.25);  // and its first tick falls due here
                           });

    rig.pump.runFor(18.0);  // cut at the first tick above 15.5 s: t = 16

    EXPECT_TRUE(tickInside);
    EXPECT_EQ(rig.filesStarted(), (std::vector<std::string>{rig.path(0), rig.path(1)}));
    EXPECT_EQ(rig.timer2.interval(), 0);
    EXPECT_EQ(rig.player.url(), rig.path(1));
    EXPECT_EQ(rig.player.playState(), PlayState::Playing);
}

// Sequence B without the tick inside: the stop's report starts the
// confirmation, which goes on ticking through the next file and only ends
// when that one is found stopped.
TEST(PlayCycleTest, EndCutConfirmationOutlivesNextPlayWithoutAdvancingTwice)
{
    Rig rig;
    rig.player.defaultDuration = 20.0;
    rig.endTime.content = "5";
    rig.list.userSelects(0);
    rig.pump.runFor(18.5);
    EXPECT_EQ(rig.filesStarted().size(), 2u);
    EXPECT_EQ(rig.timer2.interval(), 200);  // ticking; finds b playing
    rig.pump.runFor(10.0);
    EXPECT_EQ(rig.filesStarted().size(), 2u);
    EXPECT_EQ(rig.player.url(), rig.path(1));
    // b is then cut in its turn, and c follows: one advance per file.
    rig.pump.runFor(10.0);
    EXPECT_EQ(rig.filesStarted(), (std::vector<std::string>{rig.path(0), rig.path(1), rig.path(2)}));
}

// Sequence D: the user clicks another entry while a file plays.
TEST(PlayCycleTest, UserClickWhilePlayingThenContinuesFromThatEntry)
{
    Rig rig;
    rig.player.defaultDuration = 10.0;
    rig.list.userSelects(0);
    rig.pump.runFor(4.0);
    rig.list.userSelects(2);
    EXPECT_EQ(rig.seq->i, 2);
    rig.pump.runFor(12.0);
    EXPECT_EQ(rig.filesStarted(), (std::vector<std::string>{rig.path(0), rig.path(2), rig.path(0)}));
    EXPECT_EQ(rig.seq->i, 0);
}

TEST(PlayCycleTest, RepeatPlaysTheSameFileFromItsStart)
{
    Rig rig;
    rig.player.defaultDuration = 5.0;
    rig.list.userSelects(2);
    rig.seq->loopfl = 1;
    rig.pump.runFor(20.0);
    const auto started = rig.filesStarted();
    ASSERT_GE(started.size(), 3u);
    for (const auto& path : started)
        EXPECT_EQ(path, rig.path(2));
}

TEST(PlayCycleTest, StartSkipAndEndCutTogetherPlayTheMiddleOfEachFile)
{
    Rig rig;
    rig.player.defaultDuration = 60.0;
    rig.startTime.content = "30";
    rig.endTime.content = "20";
    rig.list.userSelects(0);
    rig.pump.runFor(45.0);
    const auto started = rig.filesStarted();
    ASSERT_GE(started.size(), 3u);
    // Each file skipped once to 30 s and was cut before its natural end.
    EXPECT_EQ(rig.player.pauseCalls, static_cast<int>(rig.player.positionsSet.size()));
    EXPECT_GE(rig.player.positionsSet.size(), started.size() - 1);
    for (double p : rig.player.positionsSet)
        EXPECT_EQ(p, 30.0);
    for (const auto& entry : rig.log)
        EXPECT_NE(entry.rfind("ended ", 0), 0u) << entry;
}

}  // namespace
}  // namespace sorinel::playback::testing
