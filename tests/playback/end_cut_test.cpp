// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The end cut: a Timer1 tick that finds the playing file within the cut of
// its end calls NextPlay at once.

#include <gtest/gtest.h>

#include "rig.h"

namespace sorinel::playback::testing {
namespace {

struct CutRow {
    const char* name;
    const char* endText;
    double duration;
    double position;
    std::int32_t state;
    bool cuts;
};

void PrintTo(const CutRow& row, std::ostream* os)
{
    *os << row.name;
}

class EndCutTest : public ::testing::TestWithParam<CutRow> {};

TEST_P(EndCutTest, CutsWhenTheRoundedPositionPassesDurationLessCut)
{
    const auto& row = GetParam();
    Rig rig;
    rig.timer1.prime(0, true);
    rig.list.userSelects(0);
    rig.endTime.content = row.endText;
    rig.player.load(rig.path(0), row.state, row.position, row.duration);
    const auto startedBefore = rig.filesStarted().size();
    const double begun = rig.clock.monotonic;
    std::optional<double> stoppedAfter;
    rig.pump.atPendingWhen([&] { return rig.player.stopCalls > 0; },
                           [&] { stoppedAfter = rig.clock.monotonic - begun; });

    rig.seq->Timer1_Timer();

    if (row.cuts) {
        EXPECT_EQ(rig.player.stopCalls, 1);
        ASSERT_EQ(rig.filesStarted().size(), startedBefore + 1);
        EXPECT_EQ(rig.player.url(), rig.path(1));
        // The file played on through NextPlay's wait before it was stopped.
        ASSERT_TRUE(stoppedAfter.has_value());
        EXPECT_GE(*stoppedAfter, 0.5);
    } else {
        EXPECT_EQ(rig.player.stopCalls, 0);
        EXPECT_EQ(rig.filesStarted().size(), startedBefore);
    }
}

constexpr auto Playing = PlayState::Playing;

INSTANTIATE_TEST_SUITE_P(
    Rows, EndCutTest,
    ::testing::Values(CutRow{"TenBelow", "10", 300.0, 290.4, Playing, false},
                      CutRow{"TenHalfRoundsToEven", "10", 300.0, 290.5, Playing, false},
                      CutRow{"TenAbove", "10", 300.0, 290.6, Playing, true},
                      CutRow{"TenHalfRoundsUp", "10", 300.0, 291.5, Playing, true},
                      CutRow{"FullWidthTen", "１０", 300.0, 290.6, Playing, true},
                      CutRow{"Early", "10", 300.0, 100.0, Playing, false},
                      CutRow{"PausedNearTheEnd", "10", 300.0, 299.0, PlayState::Paused, false},
                      CutRow{"StoppedNearTheEnd", "10", 300.0, 299.0, PlayState::Stopped, false},
                      CutRow{"EmptyText", "", 300.0, 299.0, Playing, false},
                      CutRow{"NotANumber", "abc", 300.0, 299.0, Playing, false},
                      CutRow{"InitialText", "終了秒", 300.0, 299.0, Playing, false},
                      CutRow{"FileShorterThanTheCut", "10", 5.0, 0.0, Playing, true},
                      CutRow{"FileAsLongAsTheCut", "10", 10.0, 0.0, Playing, false},
                      CutRow{"ZeroAtTheEnd", "0", 300.0, 299.6, Playing, false},
                      CutRow{"NegativeNeverCutsWithinTheFile", "-5", 300.0, 299.6, Playing, false},
                      CutRow{"CutRoundedFromText", "10.5", 300.0, 290.6, Playing, true},  // 10.5 is 10
                      CutRow{"CutTooLargeFor32Bits", "9e99", 300.0, 299.0, Playing, false},
                      CutRow{"DifferenceOverflows", "-2147483648", 300.0, 299.0, Playing, false},
                      CutRow{"DifferenceNearTheBottomFits", "2147483647", 100.0, 0.0, Playing, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EndCutTest, FailingPlayerCallInsideATickDoesNotEscape)
{
    Rig rig;
    rig.endTime.content = "10";
    rig.player.load(rig.path(0), PlayState::Playing, 295.0, 300.0);
    rig.player.failingCall = "duration";
    EXPECT_NO_THROW(rig.seq->Timer1_Timer());
    EXPECT_EQ(rig.player.stopCalls, 0);
    rig.player.failingCall = "playState";
    EXPECT_NO_THROW(rig.seq->Timer2_Timer());
    EXPECT_NO_THROW(rig.seq->MediaPlayer1_Click(1, 0, 0.0f, 0.0f));
}

struct ClickRow {
    std::int16_t button;
    std::int32_t state;
    std::int32_t stateAfter;
};

class PlayerClickTest : public ::testing::TestWithParam<ClickRow> {};

TEST_P(PlayerClickTest, LeftClickTogglesPauseOnly)
{
    const auto row = GetParam();
    Rig rig;
    rig.player.load(rig.path(0), row.state, 10.0, 300.0);
    rig.seq->MediaPlayer1_Click(row.button, 0, 12.0f, 34.0f);
    EXPECT_EQ(rig.player.playState(), row.stateAfter);
    const int calls = rig.player.pauseCalls + rig.player.playCalls + rig.player.stopCalls;
    EXPECT_EQ(calls, row.state == row.stateAfter ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(Rows, PlayerClickTest,
                         ::testing::Values(ClickRow{1, PlayState::Playing, PlayState::Paused},
                                           ClickRow{1, PlayState::Paused, PlayState::Playing},
                                           ClickRow{1, PlayState::Stopped, PlayState::Stopped},
                                           ClickRow{1, PlayState::Transitioning, PlayState::Transitioning},
                                           ClickRow{2, PlayState::Playing, PlayState::Playing},
                                           ClickRow{2, PlayState::Paused, PlayState::Paused},
                                           ClickRow{4, PlayState::Playing, PlayState::Playing},
                                           ClickRow{0, PlayState::Paused, PlayState::Paused}));

}  // namespace
}  // namespace sorinel::playback::testing
