// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// When the screen saver is held: rows of player reports (state numbers and
// whether the file shows video) and what the desktop must see at the end.
#include "desktop/screensaver/inhibitor_group.h"
#include "desktop/screensaver/video_playback_hold.h"
#include "recording_inhibitor.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

namespace sorinel::desktop {
namespace {

using sorinel::testing::RecordingInhibitor;

constexpr int Stopped = 1, Paused = 2, Playing = 3, Transitioning = 9, Ready = 10;

struct State {
    int value;
};
struct Video {
    bool present;
};
using Report = std::variant<State, Video>;

struct Row {
    std::string name;
    std::vector<Report> reports;
    bool held;
    int holds;     // how often a hold reached the backend
    int releases;  // how often a release reached the backend
};

void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

class HoldRows : public ::testing::TestWithParam<Row> {};

TEST_P(HoldRows, EndsHeldOnlyWhileVideoPlays) {
    RecordingInhibitor inhibitor;
    VideoPlaybackHold hold(inhibitor);
    for (const Report& r : GetParam().reports) {
        if (const auto* s = std::get_if<State>(&r))
            hold.onPlayStateChanged(s->value);
        else
            hold.onVideoPresenceChanged(std::get<Video>(r).present);
    }
    EXPECT_EQ(hold.holding(), GetParam().held);
    EXPECT_EQ(inhibitor.inhibited(), GetParam().held);
    EXPECT_EQ(inhibitor.log.count("hold:動画を再生中"), GetParam().holds) << inhibitor.log.join(", ").toStdString();
    EXPECT_EQ(inhibitor.log.count("release"), GetParam().releases) << inhibitor.log.join(", ").toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Reports, HoldRows,
    ::testing::Values(
        Row{"NothingReported", {}, false, 0, 0},
        Row{"VideoPlaying", {State{Transitioning}, Video{true}, State{Playing}}, true, 1, 0},
        Row{"VideoKnownOnlyAfterPlaying", {State{Playing}, Video{true}}, true, 1, 0},
        Row{"AudioOnlyPlaying", {State{Transitioning}, Video{false}, State{Playing}}, false, 0, 0},
        Row{"VideoLoadingNotYetPlaying", {Video{true}, State{Transitioning}}, false, 0, 0},
        Row{"VideoReadyWithoutAutoStart", {Video{true}, State{Ready}}, false, 0, 0},
        Row{"VideoPaused", {Video{true}, State{Playing}, State{Paused}}, false, 1, 1},
        Row{"VideoStopped", {Video{true}, State{Playing}, State{Stopped}}, false, 1, 1},
        Row{"VideoUnloaded", {Video{true}, State{Playing}, Video{false}, State{Stopped}}, false, 1, 1},
        Row{"PausedThenPlayingAgain", {Video{true}, State{Playing}, State{Paused}, State{Playing}}, true, 2, 1},
        Row{"VideoThenAudioFile",
            {Video{true}, State{Playing}, State{Transitioning}, Video{false}, State{Playing}},
            false,
            1,
            1},
        Row{"AudioThenVideoFile",
            {Video{false}, State{Playing}, State{Transitioning}, Video{true}, State{Playing}},
            true,
            1,
            0},
        // The track list may change under a playing file.
        Row{"VideoTrackDroppedWhilePlaying", {Video{true}, State{Playing}, Video{false}}, false, 1, 1},
        Row{"RepeatedReportsHoldOnce", {Video{true}, State{Playing}, State{Playing}, Video{true}}, true, 1, 0},
        Row{"RepeatedStopsReleaseOnce", {Video{true}, State{Playing}, State{Stopped}, State{Stopped}}, false, 1, 1}),
    [](const auto& info) { return info.param.name; });

TEST(ScreenSaverInhibitor, OnlyChangesReachTheBackend) {
    RecordingInhibitor inhibitor;
    inhibitor.uninhibit();
    inhibitor.inhibit("a");
    inhibitor.inhibit("b");
    inhibitor.uninhibit();
    inhibitor.uninhibit();
    inhibitor.inhibit("c");
    EXPECT_EQ(inhibitor.log, (QStringList{"hold:a", "release", "hold:c"}));
    EXPECT_TRUE(inhibitor.inhibited());
}

TEST(InhibitorGroup, HoldsAndReleasesThroughEveryMember) {
    auto first = std::make_unique<RecordingInhibitor>();
    auto second = std::make_unique<RecordingInhibitor>();
    RecordingInhibitor* a = first.get();
    RecordingInhibitor* b = second.get();
    std::vector<std::unique_ptr<ScreenSaverInhibitor>> members;
    members.push_back(std::move(first));
    members.push_back(std::move(second));
    InhibitorGroup group(std::move(members));

    group.inhibit("video");
    group.inhibit("video");
    EXPECT_EQ(a->log, QStringList{"hold:video"});
    EXPECT_EQ(b->log, QStringList{"hold:video"});
    group.uninhibit();
    EXPECT_FALSE(a->inhibited());
    EXPECT_FALSE(b->inhibited());
    EXPECT_EQ(b->log, (QStringList{"hold:video", "release"}));
}

}  // namespace
}  // namespace sorinel::desktop
