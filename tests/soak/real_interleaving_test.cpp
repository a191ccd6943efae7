// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The folder under a restless person, in the real window with the real
// engine: one seeded run of events at random moments (clicks on entries,
// often in the pause between two files; stop, play and pause on the bar;
// the window put away into the tray and back; files added to and removed
// from the folder, the playing one included, with the re-read a resize
// brings; the order boxes and the seconds boxes), on clips of 1 to 3 s with
// sound made by the test. Watched all along:
//   - the folder never stays stopped, paused or opening unless a person
//     stopped or paused it, or the order rules name no next file; and while
//     it is reported playing, the position moves;
//   - a file the program starts is the one the order rules name after the
//     last one started, worked out by a small model of list order, wrap,
//     repeat and random order from what the person sees (the boxes) and the
//     list as it reads then: none is passed over, also when the playing one
//     left the folder, repeat repeats, and random order names an entry of
//     the list;
//   - no end starts two files;
//   - i addresses the playing entry.
// A failing run prints its seed and what happened in it.
// SORINEL_REAL_INTERLEAVING_SEED=N replays a run (the clock still differs);
// SORINEL_REAL_INTERLEAVING_EVENTS=N sets how many acts it makes (150).
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "desktop.h"
#include "frozen_picture_watch.h"
#include "null_sound_server.h"
#include "playback/system_clock.h"
#include "playback/system_random.h"
#include "tray/mod_wnd_proc.h"
#include "window/form1.h"

namespace sorinel {
namespace {

using testing::waitUntil;

// Stopped, paused or opening this long with nothing a person did behind it
// is a stall: the longest a change of file takes is a second and a half of
// pause, and a start skip waits two and a half at most.
constexpr qint64 kStallMs = 6000;
// Each advance waits at least half a second before it stops a file.
constexpr qint64 kMinAdvanceGapMs = 500;

int envNumber(const char* name, int fallback) {
    const char* text = std::getenv(name);
    return text ? std::atoi(text) : fallback;
}

struct Source {
    const char* name;
    double seconds;
};
constexpr Source kSources[] = {{"s1.mpg", 1.0}, {"s2.avi", 2.0}, {"s3.mp3", 3.0}, {"s15.wav", 1.5}};

class RealInterleaving : public ::testing::Test {
protected:
    void SetUp() override {
        // Sound goes to a server, as on a desktop: opening its streams is
        // timing of its own.
        if (sound.installed()) {
            ASSERT_TRUE(sound.running()) << sound.whyNot().toStdString();
        }
        soundEnvironment = std::make_unique<testing::SoundEnvironment>(sound.running() ? &sound : nullptr);
        seed = static_cast<quint32>(envNumber("SORINEL_REAL_INTERLEAVING_SEED", 20261209));
        events = envNumber("SORINEL_REAL_INTERLEAVING_EVENTS", 150);
        rng.seed(seed);
        ASSERT_TRUE(sources.isValid() && folder.isValid());
        for (const Source& s : kSources) ASSERT_TRUE(makeClip(s)) << s.name;
        trayHost = std::make_unique<testing::BackgroundProgram>(
            "trayer", QStringList{"--edge", "top", "--align", "left", "--widthtype", "request", "--height", "24"});
        waitUntil([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 10000);
        for (int k = 0; k < 6; ++k) addFile();
        form = std::make_unique<window::Form1>(clock, random);
        QObject::connect(form->MediaPlayer1, &platform::MediaPlayer::playStateChange, form.get(),
                         [this](int state) { onReport(state); });
        form->raiseLoad();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        testing::pumpFor(300);
        form->File1->setPath(folder.path());
        testing::pumpFor(100);
    }

    void TearDown() override {
        if (form) form->MediaPlayer1->setUrl(QString());
        form.reset();
        trayHost.reset();
        soundEnvironment.reset();
    }

    bool makeClip(const Source& s) {
        const QString duration = QString::number(s.seconds);
        QStringList args{"-nostdin", "-hide_banner", "-loglevel", "error", "-y"};
        const QString name = s.name;
        if (!name.endsWith(".mp3") && !name.endsWith(".wav"))
            args << "-f"
                 << "lavfi"
                 << "-i"
                 << "testsrc=size=160x120:rate=25:duration=" + duration;
        args << "-f"
             << "lavfi"
             << "-i"
             << "sine=frequency=330:duration=" + duration;
        if (name.endsWith(".mpg"))
            args << "-c:v"
                 << "mpeg1video"
                 << "-c:a"
                 << "mp2"
                 << "-f"
                 << "mpeg";
        if (name.endsWith(".avi"))
            args << "-c:v"
                 << "mpeg4"
                 << "-c:a"
                 << "libmp3lame";
        args << sources.filePath(name);
        return QProcess::execute("ffmpeg", args) == 0;
    }

    // A new name in the folder, a link to one of the clips.
    void addFile() {
        const Source& s = kSources[rng.bounded(static_cast<int>(std::size(kSources)))];
        const QString ext = QFileInfo(s.name).suffix();
        QString name;
        do name = QString("f%1.%2").arg(rng.bounded(1000), 3, 10, QChar('0')).arg(ext);
        while (!QDir(folder.path()).entryList({QString("f%1.*").arg(name.mid(1, 3))}).isEmpty());
        QFile::link(sources.filePath(s.name), folder.filePath(name));
    }

    // ---- the model of the order rules ---------------------------------------

    QStringList listNames() const {
        QStringList names;
        for (int k = 0; k < form->File1->ListCount(); ++k) names << form->File1->entry(static_cast<std::int16_t>(k));
        return names;
    }

    // The order the boxes show. Checking one of repeat and random unchecks
    // the other; were both checked, repeat would win. A restore from the
    // tray keeps them in force.
    bool repeatShown() const { return form->loop_chk->Value() != 0; }
    bool randomShown() const { return form->randam_chk->Value() != 0 && !repeatShown(); }

    // The name that follows `last` (which may have left the folder), or ""
    // when none does. Random order names any entry (checked apart).
    QString modelNext(const QString& last) const {
        const QStringList names = listNames();
        if (names.isEmpty()) return {};
        if (repeatShown() && names.contains(last)) return last;
        for (const QString& name : names)
            if (QString::compare(name, last, Qt::CaseInsensitive) > 0) return name;
        return form->listloop_chk->Value() == 1 ? names.front() : QString();
    }

    bool nextFileExists() const {
        if (randomShown()) return form->File1->ListCount() > 0;
        return !lastStarted.isEmpty() && !modelNext(lastStarted).isEmpty();
    }

    // ---- what the person does -----------------------------------------------

    void act() {
        acting = true;
        advancesWhenActing = form->sequence().advancesInProgress();
        static constexpr int kWeights[] = {4, 1, 1, 1, 1, 1, 2, 1, 1, 1, 1, 1};
        int total = 0;
        for (int w : kWeights) total += w;
        int pick = rng.bounded(total), which = 0;
        while (pick >= kWeights[which]) pick -= kWeights[which++];
        actNow(which);
        acting = false;
        ++acts;
    }

    void actNow(int which) {
        auto* list = form->File1;
        auto* player = form->MediaPlayer1;
        switch (which) {
        case 0: {
            if (!form->isVisible() || list->ListCount() == 0) return note("click skipped: window away");
            const int row = rng.bounded(list->ListCount());
            if (player->playState() == 1 && !player->url().isEmpty()) ++clicksInThePause;
            note("click " + list->entry(static_cast<std::int16_t>(row)));
            // A click on the entry already selected plays it from the event
            // loop, just after the click: still the person's start.
            lastClickName = list->entry(static_cast<std::int16_t>(row));
            lastClick.start();
            list->scrollToItem(list->item(row));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
            return;
        }
        case 1:
            note("stop button");
            personStopped = true;
            player->stopByUser();
            return;
        case 2:
            note("play button");
            personStopped = false;
            player->playByUser();
            return;
        case 3:
            if (player->playState() != 3) return;
            note("pause button");
            personPaused = true;
            player->pause();
            return;
        case 4:
            note("into the tray and back");
            form->showMinimized();
            QTimer::singleShot(300 + rng.bounded(700), form.get(), [this] {
                note("tray click");
                tray::modWndProc::HookWndProc(static_cast<std::int32_t>(form->hWnd()), 1025, 1, 513);
                ++restores;
            });
            return;
        case 5:
            if (QDir(folder.path()).entryList(QDir::Files).size() >= 10) return;
            addFile();
            note("file added");
            form->resize(form->width() + 1, form->height());
            return;
        case 6: {
            const QStringList names = QDir(folder.path()).entryList(QDir::Files, QDir::Name);
            if (names.size() <= 3) return;
            // Now and then the playing one.
            const QString playing = QFileInfo(player->url()).fileName();
            const QString gone = !playing.isEmpty() && names.contains(playing) && rng.bounded(3) == 0
                                     ? playing
                                     : names.value(rng.bounded(static_cast<int>(names.size())));
            note("removed " + gone);
            if (gone == playing) ++playingRemoved;
            QFile::remove(folder.filePath(gone));
            form->resize(form->width() - 1, form->height());
            return;
        }
        case 7:
            note("repeat box");
            form->loop_chk->click();
            return;
        case 8:
            note("random box");
            form->randam_chk->click();
            return;
        case 9:
            note("wrap box");
            form->listloop_chk->click();
            return;
        case 10:
            form->StartTime_txt->setText(pick({"開始秒", "0", "1", "2", "abc"}));
            return;
        default:
            form->EndTime_txt->setText(pick({"終了秒", "0", "1", "2", ""}));
            return;
        }
    }

    const char* pick(std::initializer_list<const char*> texts) {
        return texts.begin()[rng.bounded(static_cast<int>(texts.size()))];
    }

    // ---- what the program does ----------------------------------------------

    void onReport(int state) {
        const QString url = form->MediaPlayer1->url();
        const QString name = QFileInfo(url).fileName();
        note(QString("report %1 %2").arg(state).arg(name));
        if (state == 3) {
            personPaused = false;
            checkIndex();
        }
        if (state != 9 || url.isEmpty()) return;
        const bool byPerson = (acting && form->sequence().advancesInProgress() == advancesWhenActing) ||
                              (name == lastClickName && lastClick.isValid() && lastClick.elapsed() < 300);
        if (!byPerson) {
            ++byProgram;
            if (lastStart.isValid() && lastStart.elapsed() < kMinAdvanceGapMs)
                fail(QString("%1 started %2 ms after %3").arg(name).arg(lastStart.elapsed()).arg(lastStarted));
            // A play after a stop starts the same file again; the advance
            // chooses the next one.
            if (randomShown()) {
                ++randomStarts;
                if (!listNames().contains(name)) fail(QString("random order started %1, not in the list").arg(name));
            } else if (!lastStarted.isEmpty() && name != modelNext(lastStarted)) {
                fail(QString("after %1 the order rules name '%2', not %3")
                         .arg(lastStarted, modelNext(lastStarted), name));
            } else if (repeatShown() && name == lastStarted) {
                ++repeats;
            }
        }
        personStopped = false;
        restingAtEnd = false;
        lastStarted = name;
        lastStart.start();
    }

    void checkIndex() {
        const auto* list = form->File1;
        if (list->ListIndex() < 0 || list->FileName() != QFileInfo(form->MediaPlayer1->url()).fileName()) return;
        if (form->sequence().i != list->ListIndex())
            fail(QString("i is %1 but the playing entry is row %2").arg(form->sequence().i).arg(list->ListIndex()));
    }

    // Every 50 ms: how long the player has stood still, and whether anyone
    // may leave it so.
    void watch() {
        checkIndex();
        auto* player = form->MediaPlayer1;
        const int state = player->playState();
        if (state == 1 && player->url().isEmpty() && !restingAtEnd && !nextFileExists()) restingAtEnd = true;
        const bool excused = (state == 1 && (personStopped || restingAtEnd)) || (state == 2 && personPaused) ||
                             state == 3 || lastStarted.isEmpty();
        watchPosition(state == 3);
        if (excused || state != standingState) {
            standingState = excused ? 0 : state;
            standing.start();
            return;
        }
        if (standing.elapsed() > kStallMs) {
            fail(QString("stands in state %1 with '%2' for %3 ms")
                     .arg(state)
                     .arg(player->url())
                     .arg(standing.elapsed()));
            standing.start();
        }
    }

    void watchPosition(bool playing) {
        const double position = form->MediaPlayer1->currentPosition();
        const QString url = form->MediaPlayer1->url();
        if (const auto stood = frozenWatch.look(playing, position, url))
            fail(QString("reported playing '%1' but stands at %2 s for %3 ms").arg(url).arg(position).arg(*stood));
    }

    void fail(const QString& what) {
        note("FAULT " + what);
        failures << what;
    }

    void note(const QString& line) {
        trace << QString("%1 [%2] %3")
                     .arg(sinceStart.elapsed())
                     .arg(form ? form->sequence().advancesInProgress() : 0)
                     .arg(line);
    }

    testing::NullSoundServer sound;
    std::unique_ptr<testing::SoundEnvironment> soundEnvironment;
    quint32 seed = 0;
    int events = 0;
    QRandomGenerator rng;
    playback::SystemClock clock;
    playback::SystemRandom random;
    QTemporaryDir sources;
    QTemporaryDir folder;
    std::unique_ptr<testing::BackgroundProgram> trayHost;
    std::unique_ptr<window::Form1> form;
    QElapsedTimer sinceStart;

    bool acting = false;
    int advancesWhenActing = 0;
    bool personStopped = false;
    bool personPaused = false;
    bool restingAtEnd = false;
    QString lastStarted;
    QElapsedTimer lastStart;
    QString lastClickName;
    QElapsedTimer lastClick;
    int standingState = 0;
    QElapsedTimer standing;
    testing::FrozenPictureWatch frozenWatch;

    int acts = 0, byProgram = 0, clicksInThePause = 0, playingRemoved = 0, restores = 0, repeats = 0, randomStarts = 0;
    QStringList failures;
    QStringList trace;
};

TEST_F(RealInterleaving, TheFolderNeverStallsSkipsOrDoubles) {
    sinceStart.start();
    standing.start();
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [this] { watch(); });
    watcher.start(50);
    QTimer person;
    person.setSingleShot(true);
    QObject::connect(&person, &QTimer::timeout, [&] {
        act();
        // Short gaps, so that acts fall into the pause between files, and
        // longer ones, so that files end by themselves.
        person.start(rng.bounded(3) == 0 ? 1500 + rng.bounded(2500) : 100 + rng.bounded(900));
    });
    form->File1->setSelected(0, true);
    person.start(1000);
    waitUntil([&] { return acts >= events; }, events * 3000);
    person.stop();
    testing::pumpFor(static_cast<int>(kStallMs) + 1000);  // the last act's stall would show now
    watcher.stop();

    std::printf(
        "real interleaving, seed %u: %d acts, %d files started by the program (%d repeats, %d in random order), "
        "%d clicks in the pause between files, %d removals of the playing file, %d restores from the tray, %lld "
        "failures\n",
        seed, acts, byProgram, repeats, randomStarts, clicksInThePause, playingRemoved, restores,
        static_cast<long long>(failures.size()));
    if (!failures.isEmpty()) std::printf("%s\n", qPrintable(trace.join('\n')));
    EXPECT_TRUE(failures.isEmpty()) << qPrintable(failures.join('\n'))
                                    << "\n  replay: SORINEL_REAL_INTERLEAVING_SEED=" << seed;
    EXPECT_GE(acts, events);  // an act may come nested inside another's pumping point
    // The run must reach what it is here for.
    EXPECT_GT(byProgram, events / 10);
    EXPECT_GT(clicksInThePause, 0);
}

}  // namespace
}  // namespace sorinel
