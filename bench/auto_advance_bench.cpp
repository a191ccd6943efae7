// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What ten automatic file changes cost: the process's CPU time across them,
// and the gap from one file's end to the next file's first playing report.
// Beside it, in the same run, the CPU time of the one-second wait between two
// files as the window does it (blocking in the event loop) and as a wait that
// spun would cost.
//
//   xvfb-run -a bench/auto_advance_bench MEDIA_DIR
// MEDIA_DIR holds the clips made by scripts/gen-media.sh (any length).
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

#include "playback/system_clock.h"
#include "playback/system_random.h"
#include "playback/wait_timer.h"
#include "window/form1.h"
#include "window/playback_ports.h"

namespace {

double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double monotonic() {
    static QElapsedTimer t = [] {
        QElapsedTimer e;
        e.start();
        return e;
    }();
    return t.nsecsElapsed() / 1e9;
}

// Handles pending events and returns at once: a wait built on it spins.
class SpinningPump final : public sorinel::playback::EventPump {
public:
    void processPending() override { QCoreApplication::processEvents(); }
    void waitForEvents(double) override { QCoreApplication::processEvents(); }
};

double waitCpu(sorinel::playback::EventPump& pump, sorinel::playback::Clock& clock) {
    const double before = cpuSeconds();
    sorinel::playback::cooperativeWait(1, clock, pump, [] { return false; });
    return cpuSeconds() - before;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s MEDIA_DIR\n", argv[0]);
        return 2;
    }
    const QString media = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir folder;
    int n = 0;
    for (const char* ext : {"avi", "mov", "mpg", "wmv", "mpeg", "m2p"})
        for (const QString& name : QDir(media).entryList({QStringLiteral("*.") + ext}))
            QFile::copy(media + "/" + name,
                        folder.filePath(QStringLiteral("%1-%2").arg(n++, 2, 10, QChar('0')).arg(name)));

    sorinel::playback::SystemClock clock;
    sorinel::playback::SystemRandom random;
    sorinel::window::Form1 form(clock, random);
    form.raiseLoad();
    form.show();
    form.File1->setPath(folder.path());

    constexpr int kChanges = 10;
    std::vector<double> gaps;
    double endedAt = -1;
    int playingReports = 0;
    QObject::connect(form.MediaPlayer1, &sorinel::platform::MediaPlayer::playStateChange, &form, [&](int state) {
        if (state == 1 && !form.MediaPlayer1->url().isEmpty() && endedAt < 0) endedAt = monotonic();
        if (state == 3) {
            ++playingReports;
            if (endedAt >= 0) gaps.push_back(monotonic() - endedAt);
            endedAt = -1;
        }
    });

    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 500) app.processEvents();

    const double cpu0 = cpuSeconds();
    const double wall0 = monotonic();
    form.File1->setSelected(0, true);
    while (static_cast<int>(gaps.size()) < kChanges && monotonic() - wall0 < 300)
        app.processEvents(QEventLoop::WaitForMoreEvents);
    const double cpu = cpuSeconds() - cpu0;
    const double wall = monotonic() - wall0;
    form.MediaPlayer1->setUrl(QString());

    std::sort(gaps.begin(), gaps.end());
    std::printf("automatic file changes: %zu in %.1f s, CPU %.2f s (%.0f%% of one core)\n", gaps.size(), wall, cpu,
                100.0 * cpu / wall);
    if (!gaps.empty())
        std::printf("gap from a file's end to the next playing: min %.2f s, median %.2f s, max %.2f s\n", gaps.front(),
                    gaps[gaps.size() / 2], gaps.back());

    sorinel::window::QtEventPump blocking;
    SpinningPump spinning;
    std::printf("one-second wait between files, CPU: blocking %.3f s, spinning %.3f s\n", waitCpu(blocking, clock),
                waitCpu(spinning, clock));
    return gaps.size() >= kChanges ? 0 : 1;
}
