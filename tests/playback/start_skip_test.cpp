// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The start handling of a playing report: full screen and the start skip.

#include <gtest/gtest.h>

#include "rig.h"

namespace sorinel::playback::testing {
namespace {

struct SkipRow {
    const char* name;
    const char* startText;
    double duration;
    double position;
    std::optional<double> skipTo;
};

void PrintTo(const SkipRow& row, std::ostream* os)
{
    *os << row.name;
}

class StartSkipTest : public ::testing::TestWithParam<SkipRow> {};

TEST_P(StartSkipTest, SkipsOnlyWhenTheRoundedStartLiesBetweenPositionAndDuration)
{
    const auto& row = GetParam();
    Rig rig;
    rig.startTime.content = row.startText;
    rig.player.load("/media/films/a.mp4", PlayState::Playing, row.position, row.duration);
    const double begun = rig.clock.monotonic;
    double pausedFor = -1.0;
    rig.pump.atPendingWhen([&] { return !rig.player.positionsSet.empty(); },
                           [&] { pausedFor = rig.clock.monotonic - begun; });

    rig.seq->MediaPlayer1_PlayStateChange(PlayState::Playing);

    if (row.skipTo) {
        ASSERT_EQ(rig.player.positionsSet.size(), 1u);
        EXPECT_DOUBLE_EQ(rig.player.positionsSet[0], *row.skipTo);
        EXPECT_EQ(rig.player.pauseCalls, 1);  // the resume's own report did not skip again
        EXPECT_EQ(rig.player.playCalls, 1);
        EXPECT_EQ(rig.player.playState(), PlayState::Playing);
        // Paused for the wait of two seconds, within half a second.
        EXPECT_GE(pausedFor, 1.5);
        EXPECT_LE(pausedFor, 2.51);
    } else {
        EXPECT_TRUE(rig.player.positionsSet.empty());
        EXPECT_EQ(rig.player.pauseCalls, 0);
        EXPECT_EQ(rig.clock.monotonic, begun);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, StartSkipTest,
                         ::testing::Values(SkipRow{"ThirtyOnLongFile", "30", 300.0, 0.0, 30.0},
                                           SkipRow{"FullWidthThirty", "３０", 300.0, 0.0, 30.0},
                                           SkipRow{"DurationEqualToStart", "30", 30.0, 0.0, std::nullopt},
                                           SkipRow{"DurationRoundsDownToStart", "30", 30.5, 0.0, std::nullopt},
                                           SkipRow{"DurationRoundsAboveStart", "30", 30.6, 0.0, 30.0},
                                           SkipRow{"ShortFile", "30", 12.0, 0.0, std::nullopt},
                                           SkipRow{"FractionWrittenAsTyped", "2.5", 300.0, 0.0, 2.5},
                                           SkipRow{"FractionComparedRounded", "2.5", 300.0, 1.4, 2.5},
                                           SkipRow{"PositionRoundsToStart", "2.5", 300.0, 1.6, std::nullopt},
                                           SkipRow{"PositionAtStart", "30", 300.0, 30.0, std::nullopt},
                                           SkipRow{"PositionJustBelowRoundsUp", "30", 300.0, 29.6, std::nullopt},
                                           SkipRow{"PositionBelowStart", "30", 300.0, 29.4, 30.0},
                                           SkipRow{"PositionPastStart", "30", 300.0, 45.0, std::nullopt},
                                           SkipRow{"Zero", "0", 300.0, 0.0, std::nullopt},
                                           SkipRow{"Negative", "-5", 300.0, 0.0, std::nullopt},
                                           SkipRow{"Empty", "", 300.0, 0.0, std::nullopt},
                                           SkipRow{"NotANumber", "abc", 300.0, 0.0, std::nullopt},
                                           SkipRow{"InitialText", "開始秒", 300.0, 0.0, std::nullopt},
                                           SkipRow{"TooLargeFor32Bits", "9e99", 1e12, 0.0, std::nullopt},
                                           SkipRow{"DurationTooLargeFor32Bits", "30", 1e12, 0.0, std::nullopt}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StartSkipTest, TextChangedDuringTheWaitIsTheOneWritten)
{
    Rig rig;
    rig.startTime.content = "30";
    rig.player.load("/media/films/a.mp4", PlayState::Playing, 0.0, 300.0);
    rig.pump.after(1.0, [&] { rig.startTime.content = "40.5"; });
    rig.seq->MediaPlayer1_PlayStateChange(PlayState::Playing);
    EXPECT_EQ(rig.player.positionsSet, std::vector<double>{40.5});
}

// Switched off during the wait (a text that is no number, or one beyond any
// position): nothing is written, and the file plays on from where it stood
// rather than staying paused with nobody to resume it.
TEST(StartSkipTest, TextThatNoLongerGivesAPositionResumesWithoutASeek)
{
    for (const char* text : {"abc", "", "1e999"}) {
        Rig rig;
        rig.startTime.content = "30";
        rig.player.load("/media/films/a.mp4", PlayState::Playing, 0.0, 300.0);
        rig.pump.after(1.0, [&] { rig.startTime.content = text; });
        EXPECT_NO_THROW(rig.seq->MediaPlayer1_PlayStateChange(PlayState::Playing));
        EXPECT_TRUE(rig.player.positionsSet.empty()) << text;
        EXPECT_EQ(rig.player.playState(), PlayState::Playing) << text;
        EXPECT_LT(rig.player.currentPosition(), 30.0) << text;
    }
}

TEST(StartSkipTest, FailureAfterThePauseKeepsWhatWasDone)
{
    Rig rig;
    rig.startTime.content = "30";
    rig.player.load("/media/films/a.mp4", PlayState::Playing, 0.0, 300.0);
    rig.player.failingCall = "setCurrentPosition";
    EXPECT_NO_THROW(rig.seq->MediaPlayer1_PlayStateChange(PlayState::Playing));
    EXPECT_EQ(rig.player.playState(), PlayState::Paused);
    EXPECT_EQ(rig.player.playCalls, 0);
}

TEST(StartSkipTest, ResumeBelowTheStartSkipsAgain)
{
    Rig rig;
    rig.startTime.content = "30";
    rig.player.load("/media/films/a.mp4", PlayState::Paused, 10.0, 300.0);
    rig.seq->MediaPlayer1_Click(1, 0, 0.0f, 0.0f);  // resume at 10 s
    rig.pump.runFor(0.0);
    EXPECT_EQ(rig.player.positionsSet, std::vector<double>{30.0});
}

// Another entry clicked at a pumping point of the skip's handler: that file
// is not the one this skip set out to pause, and must play.
TEST(StartSkipTest, AFileStartedAtAnyPumpOfTheSkipIsLeftPlaying)
{
    for (int pumpsAfterPlaying = 1; pumpsAfterPlaying <= 3; ++pumpsAfterPlaying) {
        Rig rig;
        rig.startTime.content = "5";
        rig.full_chk.checked = 1;  // one more pumping point
        int passes = -1;
        rig.pump.onPass = [&] {
            if (passes < 0 && rig.player.playState() == PlayState::Playing && rig.player.url() == rig.path(0))
                passes = 0;
            if (passes >= 0 && ++passes == pumpsAfterPlaying)
                rig.list.userSelects(1);
        };
        rig.list.userSelects(0);
        rig.pump.runFor(6.0);
        EXPECT_EQ(rig.player.url(), rig.path(1)) << pumpsAfterPlaying;
        EXPECT_EQ(rig.player.playState(), PlayState::Playing) << pumpsAfterPlaying;
        EXPECT_GE(rig.player.currentPosition(), 5.0) << "its own skip ran";
    }
}

TEST(StartSkipTest, SeekLandingAfterTheTargetDoesNotSkipAgain)
{
    // Some containers land a little after a seek target.
    Rig rig;
    rig.startTime.content = "30";
    rig.player.seekLandsAfter = 0.4;
    rig.player.load("/media/films/a.mp4", PlayState::Playing, 0.0, 300.0);
    rig.seq->MediaPlayer1_PlayStateChange(PlayState::Playing);
    EXPECT_EQ(rig.player.positionsSet.size(), 1u);
}

TEST(StartSkipTest, SeekAlwaysLandingShortSkipsAgainOnlyABoundedNumberOfTimes)
{
    Rig rig;
    rig.startTime.content = "30";
    rig.player.seekLandsAfter = -0.6;  // 29.4: rounded below the start value
    rig.player.load("/media/films/a.mp4", PlayState::Playing, 0.0, 300.0);
    rig.seq->MediaPlayer1_PlayStateChange(PlayState::Playing);
    EXPECT_EQ(rig.player.positionsSet, (std::vector<double>{30.0, 30.0, 30.0}));
    EXPECT_EQ(rig.player.playState(), PlayState::Playing);
    // Once those skips have returned, a later report may skip again.
    rig.seq->MediaPlayer1_PlayStateChange(PlayState::Playing);
    EXPECT_EQ(rig.player.positionsSet.size(), 6u);
}

struct FullScreenRow {
    int checked;
    const char* startText;
    int expectedRequests;
};

class FullScreenTest : public ::testing::TestWithParam<FullScreenRow> {};

TEST_P(FullScreenTest, RequestedAtEveryPlayingReportWhileChecked)
{
    const auto row = GetParam();
    Rig rig;
    rig.full_chk.checked = row.checked;
    rig.startTime.content = row.startText;
    rig.list.userSelects(0);  // playing report (and the skip's resume, if any)
    rig.pump.runFor(5.0);
    rig.seq->MediaPlayer1_Click(1, 0, 0.0f, 0.0f);  // pause
    rig.pump.runFor(1.0);
    rig.seq->MediaPlayer1_Click(1, 0, 0.0f, 0.0f);  // resume: playing again
    rig.pump.runFor(1.0);
    EXPECT_EQ(rig.player.fullScreenCalls, row.expectedRequests);
}

INSTANTIATE_TEST_SUITE_P(Rows, FullScreenTest,
                         ::testing::Values(FullScreenRow{1, "開始秒", 2}, FullScreenRow{1, "3", 3},
                                           FullScreenRow{0, "3", 0}));

}  // namespace
}  // namespace sorinel::playback::testing
