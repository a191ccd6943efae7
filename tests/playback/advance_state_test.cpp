// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The advance state machine: the pair (nextfl, interval of Timer2), row by
// row through the player's reports and the confirmation ticks.

#include <gtest/gtest.h>

#include "rig.h"

namespace sorinel::playback::testing {
namespace {

enum class Event { TransitioningReport, StoppedReport, PlayingReport, PausedReport, OtherReport, Tick };

struct Machine {
    std::int16_t nextfl;
    std::int32_t interval;
};

struct TransitionRow {
    const char* name;
    Machine from;
    Event event;
    std::int32_t playerState;  // for ticks
    bool urlSet;               // for ticks
    Machine to;
    bool nextPlayRuns;
};

void PrintTo(const TransitionRow& row, std::ostream* os)
{
    *os << row.name;
}

class AdvanceStateTest : public ::testing::TestWithParam<TransitionRow> {};

TEST_P(AdvanceStateTest, MovesAsTheTableSays)
{
    const auto& row = GetParam();
    // An empty list: NextPlay stops and unloads but selects nothing, so the
    // state it leaves is the table's own "To".
    Rig rig(std::vector<std::string>{});
    rig.timer1.prime(0, true);
    rig.seq->nextfl = row.from.nextfl;
    rig.timer2.prime(row.from.interval, true);
    rig.player.load(row.urlSet ? "/media/films/a.mp4" : "", row.playerState, 12.0, 300.0);

    switch (row.event) {
    case Event::TransitioningReport:
        rig.seq->MediaPlayer1_PlayStateChange(PlayState::Transitioning);
        break;
    case Event::StoppedReport:
        rig.seq->MediaPlayer1_PlayStateChange(PlayState::Stopped);
        break;
    case Event::PlayingReport:
        rig.seq->MediaPlayer1_PlayStateChange(PlayState::Playing);
        break;
    case Event::PausedReport:
        rig.seq->MediaPlayer1_PlayStateChange(PlayState::Paused);
        break;
    case Event::OtherReport:
        rig.seq->MediaPlayer1_PlayStateChange(8);
        break;
    case Event::Tick:
        rig.seq->Timer2_Timer();
        break;
    }

    EXPECT_EQ(rig.seq->nextfl, row.to.nextfl);
    EXPECT_EQ(rig.timer2.interval(), row.to.interval);
    EXPECT_EQ(rig.player.stopCalls, row.nextPlayRuns ? 1 : 0);
    if (row.nextPlayRuns) {
        EXPECT_EQ(rig.player.url(), "");
    }
    // The interval is 0 before NextPlay begins, never set back by it.
    if (row.event == Event::Tick && row.to.interval == 0) {
        EXPECT_EQ(rig.timer2.intervalsSet, std::vector<std::int32_t>{0});
    }
}

constexpr Machine Idle{0, 0};
constexpr Machine Armed{1, 0};
constexpr Machine Confirming{0, 200};
constexpr Machine ConfirmingArmed{1, 200};
constexpr auto Stopped = PlayState::Stopped;

INSTANTIATE_TEST_SUITE_P(
    Table, AdvanceStateTest,
    ::testing::Values(
        TransitionRow{"IdleTransitioning", Idle, Event::TransitioningReport, Stopped, true, Armed, false},
        TransitionRow{"IdleStopped", Idle, Event::StoppedReport, Stopped, true, Idle, false},
        TransitionRow{"ArmedTransitioning", Armed, Event::TransitioningReport, Stopped, true, Armed, false},
        TransitionRow{"ArmedStopped", Armed, Event::StoppedReport, Stopped, true, Confirming, false},
        TransitionRow{"ConfirmingTransitioning", Confirming, Event::TransitioningReport, Stopped, true, ConfirmingArmed,
                      false},
        TransitionRow{"ConfirmingStopped", Confirming, Event::StoppedReport, Stopped, true, Confirming, false},
        TransitionRow{"ConfirmingTickPlaying", Confirming, Event::Tick, PlayState::Playing, true, Confirming, false},
        TransitionRow{"ConfirmingTickPaused", Confirming, Event::Tick, PlayState::Paused, true, Confirming, false},
        TransitionRow{"ConfirmingTickTransitioning", Confirming, Event::Tick, PlayState::Transitioning, true,
                      Confirming, false},
        TransitionRow{"ConfirmingTickStoppedNoUrl", Confirming, Event::Tick, Stopped, false, Idle, false},
        TransitionRow{"ConfirmingTickStoppedUrl", Confirming, Event::Tick, Stopped, true, Idle, true},
        TransitionRow{"BothTransitioning", ConfirmingArmed, Event::TransitioningReport, Stopped, true, ConfirmingArmed,
                      false},
        TransitionRow{"BothStopped", ConfirmingArmed, Event::StoppedReport, Stopped, true, Confirming, false},
        TransitionRow{"BothTickPlaying", ConfirmingArmed, Event::Tick, PlayState::Playing, true, ConfirmingArmed,
                      false},
        TransitionRow{"BothTickStoppedNoUrl", ConfirmingArmed, Event::Tick, Stopped, false, Armed, false},
        TransitionRow{"BothTickStoppedUrl", ConfirmingArmed, Event::Tick, Stopped, true, Armed, true},
        // Playing, paused and other reports leave the state alone.
        TransitionRow{"ArmedPlaying", Armed, Event::PlayingReport, PlayState::Playing, true, Armed, false},
        TransitionRow{"ConfirmingPaused", Confirming, Event::PausedReport, Stopped, true, Confirming, false},
        TransitionRow{"BothOther", ConfirmingArmed, Event::OtherReport, Stopped, true, ConfirmingArmed, false},
        TransitionRow{"IdleOther", Idle, Event::OtherReport, Stopped, true, Idle, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AdvanceStateSequenceTest, TwoStoppedReportsAfterOneTransitioningStartOneConfirmation)
{
    Rig rig(std::vector<std::string>{});
    rig.seq->MediaPlayer1_PlayStateChange(PlayState::Transitioning);
    rig.seq->MediaPlayer1_PlayStateChange(PlayState::Stopped);
    rig.seq->MediaPlayer1_PlayStateChange(PlayState::Stopped);
    EXPECT_EQ(rig.timer2.intervalsSet, std::vector<std::int32_t>{200});
    EXPECT_EQ(rig.seq->nextfl, 0);
}

TEST(AdvanceStateSequenceTest, ConfirmationTicksUntilThePlayerIsFoundStopped)
{
    // Armed, the user stops a file: 200 ms later the player is still stopped
    // with its URL, so the next entry follows, whatever caused the stop.
    Rig rig;
    rig.timer1.prime(0, true);
    rig.list.userSelects(0);
    ASSERT_EQ(rig.seq->nextfl, 1);
    rig.player.stop();
    rig.pump.runFor(0.19);
    EXPECT_EQ(rig.timer2.interval(), 200);
    EXPECT_EQ(rig.filesStarted().size(), 1u);
    rig.pump.runFor(2.0);
    EXPECT_EQ(rig.timer2.interval(), 0);
    EXPECT_EQ(rig.filesStarted(), (std::vector<std::string>{rig.path(0), rig.path(1)}));
}

TEST(AdvanceStateSequenceTest, TickThatFindsThePlayerNotStoppedKeepsTicking)
{
    Rig rig(std::vector<std::string>{});
    rig.timer1.prime(0, true);
    int ticks = 0;
    rig.timer2.onTick = [&] {
        ++ticks;
        rig.seq->Timer2_Timer();
    };
    rig.player.load("/media/films/a.mp4", PlayState::Paused, 5.0, 300.0);
    rig.seq->nextfl = 1;
    rig.seq->MediaPlayer1_PlayStateChange(PlayState::Stopped);
    rig.pump.runFor(1.0);
    EXPECT_EQ(ticks, 5);
    EXPECT_EQ(rig.timer2.interval(), 200);
    EXPECT_EQ(rig.player.stopCalls, 0);
}

TEST(AdvanceStateSequenceTest, ShutdownReportMayArmButNoTickFollows)
{
    Rig rig;
    rig.list.userSelects(0);
    // The window closes: both timers off, then the player stops.
    rig.seq->beginShutdown();
    rig.timer1.setEnabled(false);
    rig.timer2.setEnabled(false);
    rig.player.stop();
    rig.pump.runFor(3.0);
    EXPECT_EQ(rig.timer2.interval(), 200);
    EXPECT_EQ(rig.seq->nextfl, 0);
    EXPECT_EQ(rig.filesStarted().size(), 1u);
}

}  // namespace
}  // namespace sorinel::playback::testing
