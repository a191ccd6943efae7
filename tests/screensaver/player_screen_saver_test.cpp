// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The real player and the window's hold on the screen saver, on the test's
// Xvfb and session bus, with a stand-in screen saver service: video that plays holds the saver, sound alone never
// does, and a pause, a stop, an end or another file gives the hold back.
#include "desktop/screensaver/screen_saver_inhibitor.h"
#include "platform/player/media_player.h"
#include "window/screen_saver_while_video.h"

#include "cover_art_song.h"
#include "desktop.h"
#include "fake_screen_saver_service.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace sorinel::platform {
namespace {

using sorinel::testing::FakeScreenSaverService;
using sorinel::testing::mediaDir;
using sorinel::testing::pumpFor;
using sorinel::testing::waitUntil;

constexpr int Stopped = 1, Paused = 2, Playing = 3;

class PlayerSaver : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(service.registered());
        player = std::make_unique<MediaPlayer>();
        new window::ScreenSaverWhileVideo(*player,
                                          desktop::makeScreenSaverInhibitor(QCoreApplication::applicationName()));
        player->resize(320, 300);
        player->setMute(true);
        player->show();
    }
    // The player's last release must reach this test's service, not be
    // routed to the next test's.
    void TearDown() override {
        player.reset();
        waitUntil([&] { return service.activeHolds() == 0; }, 3000);
    }

    void playFile(const QString& path) {
        player->setUrl(path);
        ASSERT_TRUE(waitUntil([&] { return player->playState() == Playing; }, 10000)) << path.toStdString();
    }
    void playClip(const QString& ext) { playFile(QDir(mediaDir()).filePath("clip" + ext)); }

    bool heldOnce() {
        return waitUntil([&] { return service.activeHolds() == 1; }, 3000);
    }
    bool released() {
        return waitUntil([&] { return service.activeHolds() == 0; }, 3000);
    }

    FakeScreenSaverService service;  // outlives the player
    std::unique_ptr<MediaPlayer> player;
};

struct ClipRow {
    const char* ext;
    bool held;
};

void PrintTo(const ClipRow& row, std::ostream* os) { *os << row.ext; }

class ClipKinds : public PlayerSaver, public ::testing::WithParamInterface<ClipRow> {};

TEST_P(ClipKinds, OnlyVideoHoldsTheSaver) {
    playClip(GetParam().ext);
    if (GetParam().held) {
        ASSERT_TRUE(heldOnce());
        ASSERT_EQ(service.calls().front().method, "Inhibit");
        EXPECT_EQ(service.calls().front().appName, QCoreApplication::applicationName());
    } else {
        pumpFor(800);
        EXPECT_EQ(service.count("Inhibit"), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Player, ClipKinds,
                         ::testing::Values(ClipRow{".avi", true}, ClipRow{".mov", true}, ClipRow{".mpeg", true},
                                           ClipRow{".wmv", true}, ClipRow{".mp3", false}, ClipRow{".wav", false},
                                           ClipRow{".wma", false}, ClipRow{".midi", false}),
                         [](const auto& info) { return std::string(info.param.ext + 1); });

TEST_F(PlayerSaver, PauseReleasesAndPlayHoldsAgain) {
    playClip(".avi");
    ASSERT_TRUE(heldOnce());
    const uint cookie = service.calls().back().cookie;

    player->pause();
    ASSERT_EQ(player->playState(), Paused);
    ASSERT_TRUE(released());
    EXPECT_EQ(service.calls().back().method, "UnInhibit");
    EXPECT_EQ(service.calls().back().cookie, cookie);

    player->play();
    ASSERT_TRUE(waitUntil([&] { return player->playState() == Playing; }, 5000));
    ASSERT_TRUE(heldOnce());
    EXPECT_EQ(service.count("Inhibit"), 2);

    player->stop();
    ASSERT_EQ(player->playState(), Stopped);
    EXPECT_TRUE(released());
}

TEST_F(PlayerSaver, AudioFileAfterVideoReleases) {
    playClip(".avi");
    ASSERT_TRUE(heldOnce());
    playClip(".mp3");
    ASSERT_TRUE(released());
    pumpFor(800);
    EXPECT_EQ(service.count("Inhibit"), 1);
    EXPECT_EQ(service.activeHolds(), 0);
}

TEST_F(PlayerSaver, VideoFileAfterAudioHolds) {
    playClip(".mp3");
    playClip(".mov");
    EXPECT_TRUE(heldOnce());
}

TEST_F(PlayerSaver, NaturalEndAndUnloadRelease) {
    playClip(".mpg");
    ASSERT_TRUE(heldOnce());
    ASSERT_TRUE(waitUntil([&] { return player->playState() == Stopped; }, 15000));
    ASSERT_TRUE(released());

    player->play();
    ASSERT_TRUE(waitUntil([&] { return player->playState() == Playing; }, 5000));
    ASSERT_TRUE(heldOnce());
    player->setUrl("");
    EXPECT_TRUE(released());
}

// An MP3 with its album's cover picture: a picture, not a video to watch.
TEST_F(PlayerSaver, CoverArtDoesNotHold) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString song = sorinel::testing::makeCoverArtSong(dir.path());
    ASSERT_FALSE(song.isEmpty());
    playFile(song);
    pumpFor(800);
    EXPECT_EQ(service.count("Inhibit"), 0);
}

TEST_F(PlayerSaver, PlayerGoneGivesTheHoldBack) {
    playClip(".avi");
    ASSERT_TRUE(heldOnce());
    player.reset();
    EXPECT_TRUE(released());
}

}  // namespace
}  // namespace sorinel::platform
