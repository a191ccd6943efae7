// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// NextPlay and File1_Click: the choice of the next entry, the selection
// that plays it, re-entrancy, stale indices, failures and the shutdown.

#include <algorithm>

#include <gtest/gtest.h>

#include "rig.h"

namespace sorinel::playback::testing {
namespace {

struct ChoiceRow {
    const char* name;
    int entries;
    std::int16_t i;
    std::int16_t loopfl;
    std::int16_t randfl;
    int wrap;               // listloop_chk
    std::int16_t selected;  // -1: nothing selected
    std::int16_t iAfter;
};

void PrintTo(const ChoiceRow& row, std::ostream* os)
{
    *os << row.name;
}

class NextIndexTest : public ::testing::TestWithParam<ChoiceRow> {};

TEST_P(NextIndexTest, ChoosesAndSelectsOnlyEntriesThatExist)
{
    const auto& row = GetParam();
    ScriptedRandom random({0.0f});  // a random draw lands on index 0
    Rig rig(numberedFiles(row.entries), &random);
    rig.listloop_chk.checked = row.wrap;
    rig.seq->loopfl = row.loopfl;
    rig.seq->randfl = row.randfl;
    if (row.i >= 0 && row.i < row.entries)
        rig.list.userSelects(row.i);  // plays it, and records i
    rig.seq->i = row.i;
    const auto startedBefore = rig.filesStarted().size();

    rig.seq->NextPlay();

    EXPECT_EQ(rig.list.missingEntryCalls, 0);
    EXPECT_EQ(rig.list.selected, row.selected);
    EXPECT_EQ(rig.seq->i, row.iAfter);
    EXPECT_EQ(rig.player.stopCalls, 1);
    if (row.selected >= 0) {
        ASSERT_EQ(rig.filesStarted().size(), startedBefore + 1);
        EXPECT_EQ(rig.player.url(), rig.path(row.selected));
    } else {
        EXPECT_EQ(rig.filesStarted().size(), startedBefore);
        EXPECT_EQ(rig.player.url(), "");
        EXPECT_EQ(rig.player.playState(), PlayState::Stopped);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, NextIndexTest,
    ::testing::Values(
        ChoiceRow{"ListFirstToSecond", 3, 0, 0, 0, 1, 1, 1}, ChoiceRow{"ListBeforeLast", 3, 1, 0, 0, 0, 2, 2},
        ChoiceRow{"ListLastWraps", 3, 2, 0, 0, 1, 0, 0},
        ChoiceRow{"ListLastNoWrapSelectsNothing", 3, 2, 0, 0, 0, -1, 2},
        ChoiceRow{"SingleEntryWraps", 1, 0, 0, 0, 1, 0, 0}, ChoiceRow{"SingleEntryNoWrap", 1, 0, 0, 0, 0, -1, 0},
        ChoiceRow{"RepeatSameEntry", 3, 1, 1, 0, 0, 1, 1}, ChoiceRow{"RepeatLastEntryIgnoresWrap", 3, 2, 1, 0, 0, 2, 2},
        ChoiceRow{"RepeatWinsOverRandom", 3, 1, 1, 1, 1, 1, 1}, ChoiceRow{"AnyNonZeroFlagCounts", 3, 0, 0, 5, 1, 0, 0},
        ChoiceRow{"RandomDraw", 3, 2, 0, 1, 0, 0, 0}, ChoiceRow{"RandomOnEmptyList", 0, 0, 0, 1, 1, -1, -1},
        ChoiceRow{"AfterEmptyRandomListOrderStartsAtTop", 3, -1, 0, 0, 1, 0, 0},
        // Stale indices: the folder changed or the list shrank under i.
        ChoiceRow{"StaleListOrderGoesToTop", 3, 5, 0, 0, 0, 0, 0},
        ChoiceRow{"StaleJustPastTheEnd", 3, 3, 0, 0, 0, 0, 0}, ChoiceRow{"StaleOnEmptyList", 0, 2, 0, 0, 1, -1, 2},
        ChoiceRow{"StaleRepeatSelectsNothing", 3, 5, 1, 0, 1, -1, 5},
        ChoiceRow{"StaleRandomDrawsInNewList", 3, 7, 0, 1, 1, 0, 0},
        ChoiceRow{"TopOfThe16BitRange", 2, 32767, 0, 0, 1, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NextPlayTest, StepsRunInOrderAndRepeatRaisesClickAgain)
{
    Rig rig;
    rig.list.userSelects(1);
    rig.seq->loopfl = 1;
    rig.log.clear();
    const double begun = rig.clock.monotonic;
    double stoppedAfter = -1.0;
    rig.pump.atPendingWhen([&] { return rig.player.stopCalls == 1; },
                           [&] { stoppedAfter = rig.clock.monotonic - begun; });
    rig.seq->NextPlay();

    // The wait comes first: between half a second and a second and a half.
    EXPECT_GE(stoppedAfter, 0.5);
    EXPECT_LE(stoppedAfter, 1.51);
    const std::vector<std::string> expected{"stop", "deselect 1", "url ", "select 1", "url " + rig.path(1)};
    EXPECT_EQ(std::vector<std::string>(rig.log.begin(), rig.log.begin() + 5), expected);
    EXPECT_EQ(rig.player.playState(), PlayState::Playing);
}

TEST(NextPlayTest, NestedCallInsideTheWaitLeavesTheFileItStartedPlaying)
{
    Rig rig(numberedFiles(5));
    rig.list.userSelects(0);
    rig.pump.after(0.1, [&] { rig.seq->NextPlay(); });
    rig.seq->NextPlay();
    // The nested call plays entry 1; the outer one, overtaken, ends after its
    // wait without stopping it or passing on to entry 2.
    EXPECT_EQ(rig.filesStarted(), (std::vector<std::string>{rig.path(0), rig.path(1)}));
    EXPECT_EQ(rig.seq->i, 1);
    EXPECT_EQ(rig.list.selected, 1);
    EXPECT_EQ(rig.player.stopCalls, 1);
    EXPECT_EQ(rig.player.playState(), PlayState::Playing);
}

TEST(NextPlayTest, FolderChangeDuringTheWaitIsSeenByTheLaterSteps)
{
    Rig rig(numberedFiles(5));
    rig.list.userSelects(4);
    rig.pump.after(0.2, [&] {
        rig.list.entries = numberedFiles(2);
        rig.list.selected = -1;
        rig.list.folder = "/media/other";
    });
    rig.seq->NextPlay();
    EXPECT_EQ(rig.list.missingEntryCalls, 0);
    EXPECT_EQ(rig.seq->i, 0);
    EXPECT_EQ(rig.player.url(), "/media/other/f0.mp4");
}

TEST(NextPlayTest, FailingPlayerCallEndsSilentlyWithoutTouchingTheList)
{
    Rig rig;
    rig.list.userSelects(0);
    rig.log.clear();
    rig.player.failingCall = "stop";
    EXPECT_NO_THROW(rig.seq->NextPlay());
    EXPECT_TRUE(rig.log.empty());
    EXPECT_EQ(rig.list.selected, 0);

    rig.player.failingCall = "setUrl";
    EXPECT_NO_THROW(rig.seq->NextPlay());
    // Stopped and deselected; the unload failed, so nothing further.
    EXPECT_EQ(rig.log, (std::vector<std::string>{"stop", "deselect 0"}));
}

TEST(FileClickTest, PlaysTheSelectedEntryByItsFullPath)
{
    Rig rig;
    rig.list.folder = "/media/films/";  // a folder path ending in a separator is used as it is
    rig.list.userSelects(2);
    EXPECT_EQ(rig.seq->i, 2);
    EXPECT_EQ(rig.player.url(), "/media/films//c.mp4");
    // The player's reports were handled by the click's own pumping point.
    EXPECT_EQ(rig.seq->nextfl, 1);
}

TEST(FileClickTest, ClickWithNothingSelectedIsIgnored)
{
    Rig rig;
    rig.seq->i = 2;
    rig.seq->File1_Click();
    EXPECT_EQ(rig.seq->i, 2);
    EXPECT_TRUE(rig.player.urlsSet.empty());
    EXPECT_EQ(rig.pump.processPendingCalls, 0);
}

TEST(FileClickTest, UserClickWhilePlayingSwitchesAtOnce)
{
    Rig rig;
    rig.list.userSelects(0);
    rig.pump.runFor(10.0);
    rig.list.userSelects(2);
    EXPECT_EQ(rig.seq->i, 2);
    EXPECT_EQ(rig.player.url(), rig.path(2));
    EXPECT_EQ(rig.player.playState(), PlayState::Playing);
}

TEST(FileClickTest, FailingPlayerDoesNotEscapeTheClick)
{
    Rig rig;
    rig.player.failingCall = "setUrl";
    EXPECT_NO_THROW(rig.list.userSelects(1));
    EXPECT_EQ(rig.seq->i, 1);
}

// Bringing the window back from the tray changes nothing that plays: i
// stays, the order flags are what the boxes show, the arming is untouched.
TEST(FormActivateTest, KeepsTheIndexAndTakesTheOrderFromTheBoxes)
{
    for (const int loop : {0, 1}) {
        for (const int randam : {0, 1}) {
            Rig rig;
            rig.seq->i = 2;
            rig.seq->loopfl = static_cast<std::int16_t>(1 - loop);
            rig.seq->randfl = static_cast<std::int16_t>(1 - randam);
            rig.seq->nextfl = 1;
            rig.loop_chk.checked = loop;
            rig.randam_chk.checked = randam;
            rig.seq->Form_Activate();
            EXPECT_EQ(rig.seq->i, 2);
            EXPECT_EQ(rig.seq->loopfl, loop);
            EXPECT_EQ(rig.seq->randfl, randam);
            EXPECT_EQ(rig.seq->nextfl, 1);
        }
    }
}

TEST(ShutdownTest, ClosingDuringTheWaitStillStopsButStartsNoFile)
{
    Rig rig;
    rig.list.userSelects(0);
    rig.pump.after(0.2, [&] { rig.seq->beginShutdown(); });
    rig.seq->NextPlay();
    EXPECT_EQ(rig.player.stopCalls, 1);
    EXPECT_EQ(rig.player.url(), "");
    EXPECT_EQ(rig.list.selected, -1);
    EXPECT_EQ(rig.filesStarted().size(), 1u);
    rig.list.userSelects(2);
    EXPECT_EQ(rig.filesStarted().size(), 1u);
    EXPECT_TRUE(rig.seq->shuttingDown());
}

TEST(ShutdownTest, EndingTheProgramDuringTheWaitLeavesThePlayerAlone)
{
    Rig rig;
    rig.list.userSelects(0);
    rig.log.clear();
    rig.pump.after(0.2, [&] { rig.seq->endProgram(); });
    rig.seq->NextPlay();
    EXPECT_TRUE(rig.log.empty());
    EXPECT_TRUE(rig.seq->ended());
    // Handlers that come later do nothing either.
    rig.seq->MediaPlayer1_Click(1, 0, 0.0f, 0.0f);
    rig.seq->Timer2_Timer();
    EXPECT_TRUE(rig.log.empty());
}

}  // namespace
}  // namespace sorinel::playback::testing
