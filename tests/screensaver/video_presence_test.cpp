// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What the engine boundary reports about a file's pictures: a real video
// track counts, sound alone and an album's cover picture do not, and the
// report follows the file when another one replaces it.
#include "platform/engine/mpv_events.h"
#include "platform/engine/mpv_handle.h"

#include "cover_art_song.h"
#include "desktop.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>

namespace sorinel::platform {
namespace {

using sorinel::testing::mediaDir;
using sorinel::testing::waitUntil;

class VideoPresence : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(mpv.valid());
        // No render context here: a null output still selects and decodes
        // the video track.
        mpv.setString("vo", "null");
        mpv.setString("ao", "null");
        QObject::connect(&pump, &MpvEventPump::fileLoaded, [this] { ++loads; });
        QObject::connect(&pump, &MpvEventPump::videoPresenceChanged, [this](bool v) { reported = v; });
    }

    // Loads path and waits until it is loaded and the engine has settled.
    void load(const QString& path) {
        const int before = loads;
        ASSERT_GE(mpv.loadFile(path), 0);
        ASSERT_TRUE(waitUntil([&] { return loads > before; }, 10000)) << path.toStdString();
        sorinel::testing::pumpFor(300);
    }
    QString clip(const char* ext) const { return QDir(mediaDir()).filePath(QString("clip") + ext); }

    MpvHandle mpv;
    MpvEventPump pump{mpv};
    int loads = 0;
    std::optional<bool> reported;
};

struct PresenceRow {
    const char* ext;
    bool video;
};

void PrintTo(const PresenceRow& row, std::ostream* os) { *os << row.ext; }

class ClipPresence : public VideoPresence, public ::testing::WithParamInterface<PresenceRow> {};

TEST_P(ClipPresence, AskedAndObservedAlike) {
    load(clip(GetParam().ext));
    EXPECT_EQ(currentFileShowsVideo(mpv), GetParam().video);
    if (GetParam().video) {
        ASSERT_TRUE(reported.has_value());
        EXPECT_TRUE(*reported);
    } else {
        EXPECT_FALSE(reported.value_or(false));
    }
}

INSTANTIATE_TEST_SUITE_P(Clips, ClipPresence,
                         ::testing::Values(PresenceRow{".avi", true}, PresenceRow{".m2p", true},
                                           PresenceRow{".asf", true}, PresenceRow{".mp3", false},
                                           PresenceRow{".aiff", false}, PresenceRow{".au", false}),
                         [](const auto& info) { return std::string(info.param.ext + 1); });

TEST_F(VideoPresence, FollowsTheFileThatReplacesIt) {
    load(clip(".mov"));
    ASSERT_EQ(reported, std::optional<bool>(true));
    load(clip(".wav"));
    EXPECT_EQ(reported, std::optional<bool>(false));
    EXPECT_FALSE(currentFileShowsVideo(mpv));
    load(clip(".wmv"));
    EXPECT_EQ(reported, std::optional<bool>(true));
    mpv.command({"stop"});
    EXPECT_TRUE(waitUntil([&] { return reported == std::optional<bool>(false); }, 5000));
    EXPECT_FALSE(currentFileShowsVideo(mpv));
}

// With cover pictures shown (the player itself turns them off), the picture
// is a selected video track, but still no video to watch.
TEST_F(VideoPresence, CoverPictureIsNoVideo) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString song = sorinel::testing::makeCoverArtSong(dir.path());
    ASSERT_FALSE(song.isEmpty());
    for (const char* display : {"no", "embedded-first"}) {
        mpv.setString("audio-display", display);
        load(song);
        EXPECT_FALSE(currentFileShowsVideo(mpv)) << display;
        EXPECT_FALSE(reported.value_or(false)) << display;
    }
    // The track really is there when shown: the answer above is the
    // cover-art flag's, not a missing track's.
    EXPECT_TRUE(mpv.getFlag("current-tracks/video/albumart").value_or(false));
}

TEST(VideoPresenceWithoutEngine, NothingLoadedShowsNoVideo) {
    MpvHandle mpv;
    EXPECT_FALSE(currentFileShowsVideo(mpv));
}

}  // namespace
}  // namespace sorinel::platform
