// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Faults from outside while a file plays, in the real window with the real
// engine: the sound device goes away, the playing file is cut short or
// deleted, the whole folder is deleted. Each time the file ends (or is passed
// over) within a few seconds, the folder goes on where it can, and the window
// never stops answering.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "desktop.h"
#include "null_sound_server.h"
#include "playback/system_clock.h"
#include "playback/system_random.h"
#include "window/form1.h"

namespace sorinel {
namespace {

using testing::mediaDir;
using testing::waitUntil;

// A clip of the test media lasts 4 s; the fault comes at 1.5 s.
constexpr double kFaultAt = 1.5;
// From the fault to the next file playing: the rest of the clip at most, the
// stop's confirmation, the one-second wait and the next file's start.
constexpr int kGoesOnWithinMs = 9000;
// The event loop must never be away this long.
constexpr qint64 kFreezeMs = 2000;

class OutsideFaults : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        for (const char* kind : {"avi", "mov", "mpg"})
            ASSERT_TRUE(
                QFile::copy(mediaDir() + "/clip." + kind, folder.filePath(QString("%1.%2").arg(kind).arg(kind))));
        form = std::make_unique<window::Form1>(clock, random);
        form->raiseLoad();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        form->File1->setPath(folder.path());
        testing::pumpFor(200);
        ASSERT_EQ(form->File1->ListCount(), 3);
        // The longest the event loop was away, measured by a timer that
        // should fire every 50 ms.
        heartbeat.start(50);
        beat.start();
        QObject::connect(&heartbeat, &QTimer::timeout, [this] { longestAway = std::max(longestAway, beat.restart()); });
    }

    void TearDown() override {
        heartbeat.stop();
        EXPECT_LT(longestAway, kFreezeMs) << "the window did not answer for " << longestAway << " ms";
        form->MediaPlayer1->setUrl(QString());
        form.reset();
    }

    QString playing() const {
        return form->MediaPlayer1->playState() == 3 ? QFileInfo(form->MediaPlayer1->url()).fileName() : QString();
    }

    // Plays the first entry until the fault's moment.
    void playFirstUntilTheFault() {
        form->File1->setSelected(0, true);
        ASSERT_TRUE(waitUntil([&] { return playing() == "avi.avi"; }, 10000)) << "the first file never played";
        ASSERT_TRUE(waitUntil([&] { return form->MediaPlayer1->currentPosition() >= kFaultAt; }, 10000));
    }

    bool nextPlaysWithinAFewSeconds() {
        return waitUntil([&] { return playing() == "mov.mov"; }, kGoesOnWithinMs);
    }

    playback::SystemClock clock;
    playback::SystemRandom random;
    QTemporaryDir folder;
    std::unique_ptr<window::Form1> form;
    QTimer heartbeat;
    QElapsedTimer beat;
    qint64 longestAway = 0;
};

TEST_F(OutsideFaults, SoundDeviceGoesAway) {
    testing::NullSoundServer sound;
    if (!sound.installed()) GTEST_SKIP() << "no sound server here: " << sound.whyNot().toStdString();
    ASSERT_TRUE(sound.running()) << sound.whyNot().toStdString();
    qputenv("PULSE_SERVER", sound.address().toUtf8());
    playFirstUntilTheFault();
    const bool intoTheSink = waitUntil([&] { return sound.streams() > 0; }, 3000);
    qunsetenv("PULSE_SERVER");
    ASSERT_TRUE(intoTheSink) << "the player did not play into the test's sound server";

    ASSERT_TRUE(sound.removeSink());
    EXPECT_TRUE(nextPlaysWithinAFewSeconds())
        << "now: " << form->MediaPlayer1->url().toStdString() << " state " << form->MediaPlayer1->playState();
}

// Killed mid-file and started again: the folder plays on silently while
// there is no server, and its sound returns from a later file at the latest.
TEST_F(OutsideFaults, SoundServerGoesAwayAndComesBack) {
    testing::NullSoundServer sound;
    if (!sound.installed()) GTEST_SKIP() << "no sound server here: " << sound.whyNot().toStdString();
    ASSERT_TRUE(sound.running()) << sound.whyNot().toStdString();
    const testing::SoundEnvironment into(&sound);
    playFirstUntilTheFault();
    ASSERT_TRUE(waitUntil([&] { return sound.streams() > 0; }, 3000)) << "not played into the test's server";

    sound.crash();
    EXPECT_TRUE(nextPlaysWithinAFewSeconds())
        << "now: " << form->MediaPlayer1->url().toStdString() << " state " << form->MediaPlayer1->playState();
    ASSERT_TRUE(sound.restart()) << sound.whyNot().toStdString();
    EXPECT_TRUE(waitUntil([&] { return sound.streams() > 0; }, 2 * kGoesOnWithinMs))
        << "no sound after the server came back; now: " << form->MediaPlayer1->url().toStdString();
    EXPECT_TRUE(waitUntil([&] { return !playing().isEmpty(); }, kGoesOnWithinMs)) << "the folder stopped";
}

TEST_F(OutsideFaults, PlayingFileCutShort) {
    playFirstUntilTheFault();
    QFile file(folder.filePath("avi.avi"));
    ASSERT_TRUE(file.resize(file.size() / 3));
    EXPECT_TRUE(nextPlaysWithinAFewSeconds());
}

TEST_F(OutsideFaults, PlayingFileDeleted) {
    playFirstUntilTheFault();
    ASSERT_TRUE(QFile::remove(folder.filePath("avi.avi")));
    EXPECT_TRUE(nextPlaysWithinAFewSeconds());
    // The next layout pass drops it from the list; the folder goes on.
    form->resize(form->width() + 20, form->height());
    EXPECT_TRUE(waitUntil([&] { return form->File1->ListCount() == 2; }, 3000));
    EXPECT_TRUE(waitUntil([&] { return playing() == "mpg.mpg"; }, kGoesOnWithinMs));
}

TEST_F(OutsideFaults, FolderDeleted) {
    playFirstUntilTheFault();
    ASSERT_TRUE(QDir(folder.path()).removeRecursively());
    // The file under way ends, the entries that are gone are passed over.
    EXPECT_TRUE(waitUntil([&] { return playing().isEmpty(); }, kGoesOnWithinMs));
    // The next layout pass finds no folder and an empty list: the player
    // rests, stopped.
    form->resize(form->width() + 20, form->height());
    EXPECT_TRUE(waitUntil([&] { return form->File1->ListCount() == 0; }, 3000));
    EXPECT_TRUE(waitUntil([&] { return form->MediaPlayer1->url().isEmpty(); }, 8000))
        << "still on " << form->MediaPlayer1->url().toStdString();
    testing::pumpFor(2500);
    EXPECT_TRUE(form->MediaPlayer1->url().isEmpty());
    EXPECT_EQ(form->MediaPlayer1->playState(), 1);
}

}  // namespace
}  // namespace sorinel
