// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The player on the real engine: every generated clip opens, plays, seeks
// and ends with the state numbers the program's auto-advance relies on;
// broken files end in "stopped" without a dialog; stop, pause and replacing
// a file report exactly what the contract says.
#include "platform/player/media_player.h"

#include "desktop.h"
#include "picture_probe.h"

#include <QDir>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace sorinel::platform {
namespace {

using sorinel::testing::mediaDir;
using sorinel::testing::pumpFor;
using sorinel::testing::run;
using sorinel::testing::waitUntil;

constexpr int Stopped = 1, Paused = 2, Playing = 3, Transitioning = 9, Ready = 10;

class StateLog {
public:
    explicit StateLog(MediaPlayer& p) {
        QObject::connect(&p, &MediaPlayer::playStateChange, [this](int s) { states.push_back(s); });
    }
    bool saw(int s) const { return std::find(states.begin(), states.end(), s) != states.end(); }
    int last() const { return states.empty() ? 0 : states.back(); }
    std::vector<int> states;
};

QString clip(const QString& ext) { return QDir(mediaDir()).filePath("clip" + ext); }

double ffprobeDuration(const QString& path) {
    const QString out = run("ffprobe", {"-v", "error", "-show_entries", "format=duration", "-of", "csv=p=0", path});
    bool ok = false;
    const double d = out.trimmed().toDouble(&ok);
    return ok ? d : -1;
}

struct Player {
    Player() : log(widget) {
        widget.resize(480, 360);
        widget.show();
    }
    MediaPlayer widget;
    StateLog log;
};

// ---------------------------------------------------------------------------

class EveryExtension : public ::testing::TestWithParam<const char*> {};

TEST_P(EveryExtension, OpensPlaysSeeksAndEndsStoppedWithTheFileKept) {
    const QString path = clip(GetParam());
    ASSERT_TRUE(QFile::exists(path)) << path.toStdString();
    // MIDI has no container length to ask ffprobe for: the generated song is
    // eight half-second notes.
    const double expected = QString(GetParam()) == ".midi" ? 4.0 : ffprobeDuration(path);
    ASSERT_GT(expected, 0);

    Player p;
    // The window's handler of the playing report reads the length there (a
    // start skip needs it).
    double lengthWhenPlaying = -1;
    QObject::connect(&p.widget, &MediaPlayer::playStateChange, [&](int s) {
        if (s == Playing && lengthWhenPlaying < 0) lengthWhenPlaying = p.widget.duration();
    });
    p.widget.setUrl(path);
    EXPECT_EQ(p.log.states, std::vector<int>{Transitioning}) << "9 must be reported before setUrl returns";
    ASSERT_TRUE(waitUntil([&] { return p.log.saw(Playing); }, 15000));
    EXPECT_EQ(p.log.states, (std::vector<int>{Transitioning, Playing}));
    EXPECT_EQ(p.widget.playState(), Playing);
    EXPECT_NEAR(lengthWhenPlaying, expected, 0.2) << "the length is known when playing is reported";
    EXPECT_NEAR(p.widget.duration(), expected, 0.2);

    // Seek while paused, so that the position read afterwards is where the
    // engine really stands and not where playback drifted meanwhile.
    p.widget.pause();
    const double target = expected - 1.2;
    p.widget.setCurrentPosition(target);
    pumpFor(600);
    EXPECT_NEAR(p.widget.currentPosition(), target, 0.5);
    p.widget.play();

    ASSERT_TRUE(waitUntil([&] { return p.log.last() == Stopped; }, 8000));
    pumpFor(200);
    EXPECT_EQ(p.log.states, (std::vector<int>{Transitioning, Playing, Paused, Playing, Stopped}));
    EXPECT_EQ(p.widget.url(), path);
    EXPECT_NEAR(p.widget.duration(), expected, 0.2) << "the length stays readable after the end";
}

INSTANTIATE_TEST_SUITE_P(Clips, EveryExtension,
                         ::testing::Values(".mpeg", ".wma", ".wmv", ".avi", ".mov", ".mpg", ".mp3", ".mp2", ".m2p",
                                           ".wav", ".asf", ".midi", ".aiff", ".au", ".dvr-ms"),
                         [](const auto& info) {
                             QString name = QString(info.param).mid(1);
                             return name.replace('-', '_').toStdString();
                         });

// ---------------------------------------------------------------------------

struct BadFile {
    const char* name;
    QByteArray content;
};

class BadFiles : public ::testing::TestWithParam<BadFile> {};

TEST_P(BadFiles, ReportTransitioningThenStoppedAndKeepTheUrl) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(GetParam().name);
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(GetParam().content);
    }
    Player p;
    p.widget.setUrl(path);
    ASSERT_TRUE(waitUntil([&] { return p.log.last() == Stopped; }, 10000));
    pumpFor(500);
    EXPECT_EQ(p.log.states, (std::vector<int>{Transitioning, Stopped}));
    EXPECT_EQ(p.widget.url(), path);
    EXPECT_EQ(p.widget.playState(), Stopped);
    EXPECT_EQ(p.widget.duration(), 0);
}

QByteArray noise(int bytes) {
    QByteArray b;
    quint32 x = 2463534242u;
    for (int i = 0; i < bytes; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b.append(static_cast<char>(x & 0xff));
    }
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadFiles,
    ::testing::Values(BadFile{"noise.mpeg", noise(64 * 1024)}, BadFile{"empty.wmv", QByteArray()},
                      BadFile{"text.mp3", QByteArray("This is not music, only a text file.\n").repeated(40)},
                      BadFile{"noise.midi", noise(4096)},
                      // A MIDI header that promises a track which is not there.
                      BadFile{"truncated.midi", QByteArray("MThd\0\0\0\x06\0\0\0\x01\0\x60MTrk\0\0\x10\0", 22)},
                      BadFile{"riff-header-only.wav", QByteArray("RIFF\x24\0\0\0WAVEfmt ", 16)}),
    [](const auto& info) {
        QString n = info.param.name;
        return n.replace('.', '_').replace('-', '_').toStdString();
    });

// ---------------------------------------------------------------------------

// A play list or a directory is not a media file: the engine would expand
// it into files of its own choosing.
TEST(BadTargets, PlayListsAndDirectoriesStopAndPlayNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.avi"));
    QFile::copy(clip(".wav"), dir.filePath("folder.avi/inside.wav"));
    const QString list = dir.filePath("list.mp3");
    {
        QFile f(list);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(("#EXTM3U\n" + clip(".wav") + "\n" + clip(".mp3") + "\n").toUtf8());
    }
    for (const QString& path : {list, dir.filePath("folder.avi")}) {
        Player p;
        p.widget.setUrl(path);
        ASSERT_TRUE(waitUntil([&] { return p.log.last() == Stopped; }, 5000)) << path.toStdString();
        pumpFor(1200);
        EXPECT_EQ(p.log.states, (std::vector<int>{Transitioning, Stopped})) << path.toStdString();
        EXPECT_EQ(p.widget.url(), path);
        EXPECT_EQ(p.widget.currentPosition(), 0);
    }
}

TEST(Transport, StopKeepsTheFileAtItsStartAndPlayStartsOver) {
    Player p;
    const QString path = clip(".mpg");
    p.widget.setUrl(path);
    ASSERT_TRUE(waitUntil([&] { return p.widget.playState() == Playing; }, 10000));
    pumpFor(1500);
    ASSERT_GT(p.widget.currentPosition(), 0.8);

    p.widget.stop();
    EXPECT_EQ(p.log.last(), Stopped) << "stop reports at once";
    pumpFor(600);
    EXPECT_EQ(p.widget.playState(), Stopped);
    EXPECT_EQ(p.widget.url(), path);
    EXPECT_GT(p.widget.duration(), 3.5);
    EXPECT_LT(p.widget.currentPosition(), 0.3);

    p.widget.play();
    EXPECT_EQ(p.log.last(), Playing);
    pumpFor(700);
    EXPECT_EQ(p.widget.playState(), Playing);
    const double pos = p.widget.currentPosition();
    EXPECT_GT(pos, 0.1);
    EXPECT_LT(pos, 1.2);
}

TEST(Transport, APositionSetOnThePlayingReportIsKept) {
    // The program applies its start skip from inside the "playing" report;
    // play() from stopped must not rewind after that.
    Player p;
    p.widget.setUrl(clip(".mpeg"));
    ASSERT_TRUE(waitUntil([&] { return p.widget.playState() == Playing; }, 10000));
    p.widget.stop();
    QObject::connect(&p.widget, &MediaPlayer::playStateChange, [&](int s) {
        if (s == Playing) p.widget.setCurrentPosition(2.0);
    });
    p.widget.play();
    pumpFor(500);
    EXPECT_GT(p.widget.currentPosition(), 1.8);
}

TEST(Transport, EveryPauseAndResumeIsReported) {
    Player p;
    p.widget.setUrl(clip(".wav"));
    ASSERT_TRUE(waitUntil([&] { return p.widget.playState() == Playing; }, 10000));
    p.log.states.clear();
    for (int round = 0; round < 3; ++round) {
        p.widget.pause();
        pumpFor(100);
        p.widget.play();
        pumpFor(100);
    }
    EXPECT_EQ(p.log.states, (std::vector<int>{Paused, Playing, Paused, Playing, Paused, Playing}));
    const double before = p.widget.currentPosition();
    p.widget.pause();
    pumpFor(400);
    EXPECT_NEAR(p.widget.currentPosition(), before, 0.15) << "a paused file does not move on";
}

TEST(Transport, PlayAfterTheNaturalEndStartsFromTheBeginning) {
    Player p;
    p.widget.setUrl(clip(".mp2"));
    ASSERT_TRUE(waitUntil([&] { return p.widget.playState() == Playing; }, 10000));
    p.widget.setCurrentPosition(p.widget.duration() - 0.5);
    ASSERT_TRUE(waitUntil([&] { return p.widget.playState() == Stopped; }, 5000));
    p.log.states.clear();
    p.widget.play();
    pumpFor(500);
    EXPECT_EQ(p.log.states, (std::vector<int>{Transitioning, Playing}));
    EXPECT_LT(p.widget.currentPosition(), 1.0);
}

TEST(Transport, ASeekPastTheEndEndsTheFile) {
    Player p;
    p.widget.setUrl(clip(".mp3"));
    ASSERT_TRUE(waitUntil([&] { return p.widget.playState() == Playing; }, 10000));
    p.widget.setCurrentPosition(60);
    ASSERT_TRUE(waitUntil([&] { return p.widget.playState() == Stopped; }, 5000));
    pumpFor(300);
    EXPECT_EQ(p.log.states, (std::vector<int>{Transitioning, Playing, Stopped}));
    EXPECT_LE(p.widget.currentPosition(), p.widget.duration() + 0.1) << "not the unreachable target";
}

TEST(Transport, ReplacingAPlayingFileNeverReportsStoppedInBetween) {
    Player p;
    p.widget.setUrl(clip(".mpeg"));
    ASSERT_TRUE(waitUntil([&] { return p.widget.playState() == Playing; }, 10000));
    pumpFor(500);
    p.log.states.clear();
    const QString next = clip(".avi");
    p.widget.setUrl(next);
    ASSERT_TRUE(waitUntil([&] { return p.log.saw(Playing); }, 10000));
    pumpFor(800);
    EXPECT_EQ(p.log.states, (std::vector<int>{Transitioning, Playing}));
    EXPECT_EQ(p.widget.url(), next);
    EXPECT_LT(p.widget.currentPosition(), 1.5) << "the new file starts at its beginning";
}

TEST(Transport, ReplacingAFileStillLoadingOnlyTheLastOnePlays) {
    Player p;
    p.widget.setUrl(clip(".midi"));  // prepared off the GUI thread: still loading below
    p.widget.setUrl(clip(".mov"));
    ASSERT_TRUE(waitUntil([&] { return p.log.saw(Playing); }, 10000));
    pumpFor(1500);  // a late MIDI rendering would land here
    EXPECT_EQ(p.log.states, (std::vector<int>{Transitioning, Transitioning, Playing}));
    EXPECT_EQ(p.widget.url(), clip(".mov"));
    EXPECT_NEAR(p.widget.duration(), ffprobeDuration(clip(".mov")), 0.2);
}

TEST(Transport, TwoFilesSetInARowPlayTheSecond) {
    Player p;
    p.widget.setUrl(clip(".wmv"));
    p.widget.setUrl(clip(".mpg"));
    ASSERT_TRUE(waitUntil([&] { return p.log.saw(Playing); }, 10000));
    pumpFor(800);
    EXPECT_EQ(p.log.states, (std::vector<int>{Transitioning, Transitioning, Playing}));
    EXPECT_EQ(p.widget.playState(), Playing);
    EXPECT_GT(p.widget.currentPosition(), 0.3);
}

// The engine pauses a file that reached its end (keep-open) and keeps that
// pause for the file set next: the new one must run, its position moving,
// when it is reported playing. Several times, as the engine's pause races
// with the load.
TEST(Transport, AFileSetOverOneHeldAtItsEndRuns) {
    Player p;
    int delayMs = 0;
    for (const char* next : {".avi", ".mp3", ".midi", ".mov"}) {
        p.widget.setUrl(clip(".wav"));
        ASSERT_TRUE(waitUntil([&] { return p.widget.playState() == Playing; }, 10000));
        p.widget.setCurrentPosition(p.widget.duration() - 0.3);
        ASSERT_TRUE(waitUntil([&] { return p.widget.playState() == Stopped; }, 5000));
        pumpFor(delayMs);  // before and after the engine pauses it there
        delayMs += 60;
        p.log.states.clear();
        p.widget.setUrl(clip(next));
        ASSERT_TRUE(waitUntil([&] { return p.log.saw(Playing); }, 10000)) << next;
        const double reported = p.widget.currentPosition();
        EXPECT_TRUE(waitUntil([&] { return p.widget.currentPosition() > reported + 0.5; }, 4000))
            << next << " sits on its first frame";
        EXPECT_EQ(p.widget.playState(), Playing) << next;
    }
}

TEST(Transport, EmptyUrlUnloadsAndStops) {
    Player p;
    p.widget.setUrl(clip(".wma"));
    ASSERT_TRUE(waitUntil([&] { return p.widget.playState() == Playing; }, 10000));
    p.log.states.clear();
    p.widget.setUrl("");
    EXPECT_EQ(p.log.states, std::vector<int>{Stopped});
    pumpFor(500);
    EXPECT_EQ(p.log.states, std::vector<int>{Stopped}) << "the unloaded file's own end is not reported";
    EXPECT_EQ(p.widget.url(), "");
    EXPECT_EQ(p.widget.duration(), 0);
    p.widget.setUrl("");
    EXPECT_EQ(p.log.states, std::vector<int>{Stopped}) << "no report without a change";
}

TEST(Transport, WithoutAutoStartAFileLoadsReadyAndWaitsForPlay) {
    Player p;
    p.widget.setAutoStart(false);
    p.widget.setUrl(clip(".au"));
    ASSERT_TRUE(waitUntil([&] { return p.log.saw(Ready); }, 10000));
    pumpFor(500);
    EXPECT_EQ(p.log.states, (std::vector<int>{Transitioning, Ready}));
    EXPECT_LT(p.widget.currentPosition(), 0.1);
    p.widget.play();
    pumpFor(500);
    EXPECT_EQ(p.log.states, (std::vector<int>{Transitioning, Ready, Playing}));
    EXPECT_GT(p.widget.currentPosition(), 0.1);
}

TEST(Transport, PlayAfterAFailedFileTriesItAgain) {
    QTemporaryDir dir;
    const QString path = dir.filePath("late.wav");
    Player p;
    p.widget.setUrl(path);  // not there yet
    ASSERT_TRUE(waitUntil([&] { return p.log.last() == Stopped; }, 5000));
    ASSERT_TRUE(QFile::copy(clip(".wav"), path));
    p.log.states.clear();
    p.widget.play();
    ASSERT_TRUE(waitUntil([&] { return p.log.saw(Playing); }, 10000));
    EXPECT_EQ(p.log.states, (std::vector<int>{Transitioning, Playing}));
}

// A person's stop and play go through the same reports as the program's,
// with a signal of their own after them; the program's stop() has none.
TEST(PersonsTransport, StopAndPlayByUserSignalAfterTheirReports) {
    Player p;
    std::vector<QString> events;
    QObject::connect(&p.widget, &MediaPlayer::playStateChange, [&](int s) { events.push_back(QString::number(s)); });
    QObject::connect(&p.widget, &MediaPlayer::stoppedByUser, [&] { events.push_back("stoppedByUser"); });
    QObject::connect(&p.widget, &MediaPlayer::playWantedWithoutMedia, [&] { events.push_back("wanted"); });

    p.widget.playByUser();
    EXPECT_EQ(events, std::vector<QString>{"wanted"}) << "no file: only the wish is told";
    EXPECT_EQ(p.widget.playState(), Stopped);

    p.widget.setUrl(clip(".mpg"));
    ASSERT_TRUE(waitUntil([&] { return p.widget.playState() == Playing; }, 10000));
    events.clear();
    p.widget.stop();
    p.widget.play();
    p.widget.stopByUser();
    p.widget.playByUser();
    pumpFor(300);
    EXPECT_EQ(events, (std::vector<QString>{"1", "9", "3", "1", "stoppedByUser", "9", "3"}));
    EXPECT_EQ(p.widget.playState(), Playing);
    EXPECT_EQ(p.widget.url(), clip(".mpg"));
}

// Where no window manager acts on full screen (a bare X server, as here),
// the window is laid over the screen by hand and put back afterwards, and the
// picture fills the screen in its own shape.
TEST(FullScreen, WithoutAWindowManagerTheWindowIsLaidOverTheScreen) {
    QTemporaryDir dir;
    const QString square = sorinel::testing::makeWhiteClip(dir.path(), 240, 240);
    QWidget window;
    auto* player = new MediaPlayer(&window);
    player->setPlacement(QRect(0, 0, 400, 330));
    window.setGeometry(120, 90, 640, 400);
    window.show();
    ASSERT_TRUE(waitUntil([&] { return window.isVisible(); }, 5000));
    pumpFor(300);
    const QRect before = window.geometry();
    player->setUrl(square);
    ASSERT_TRUE(waitUntil([&] { return player->playState() == Playing; }, 10000));

    const QRect screen = window.screen()->geometry();
    player->setFullScreen(true);
    ASSERT_TRUE(waitUntil([&] { return window.geometry() == screen; }, 5000));
    pumpFor(600);
    const QRect picture = sorinel::testing::brightArea(sorinel::testing::screenPixels(screen));
    EXPECT_TRUE(sorinel::testing::sameEdges(picture, sorinel::testing::fittedPicture(screen.size(), 1.0)))
        << picture.x() << "," << picture.y() << " " << picture.width() << "x" << picture.height();

    player->setFullScreen(false);
    ASSERT_TRUE(waitUntil([&] { return window.geometry() == before; }, 5000));
    EXPECT_EQ(player->geometry(), QRect(0, 0, 400, 330));
}

TEST(Settings, StartAsTheWindowExpectsAndClampToTheirRanges) {
    MediaPlayer p;
    EXPECT_TRUE(p.autoStart());
    EXPECT_EQ(p.volume(), 100);
    EXPECT_FALSE(p.mute());
    EXPECT_EQ(p.rate(), 1.0);
    EXPECT_EQ(p.balance(), 0);
    EXPECT_TRUE(p.stretchToFit());
    EXPECT_TRUE(p.enableContextMenu());
    EXPECT_EQ(p.uiMode(), "full");
    EXPECT_FALSE(p.fullScreen());
    EXPECT_EQ(p.url(), "");
    EXPECT_EQ(p.playState(), Stopped);

    p.setVolume(150);
    EXPECT_EQ(p.volume(), 100);
    p.setVolume(-5);
    EXPECT_EQ(p.volume(), 0);
    p.setBalance(-300);
    EXPECT_EQ(p.balance(), -100);
    p.setRate(0);
    EXPECT_EQ(p.rate(), 1.0) << "a zero rate would stall playback";
    p.setRate(2.5);
    EXPECT_EQ(p.rate(), 2.5);
}

}  // namespace
}  // namespace sorinel::platform
