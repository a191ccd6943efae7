// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The process's CPU time per second of playback of one clip in the real
// window (mpv's decoding and rendering threads included), after a short
// warm-up. It also prints the size of the video area, so that a comparison
// player can be given a window of the same size.
//
//   xvfb-run -a bench/playback_cost_bench [--full-screen] CLIP [SECONDS]
// The clip must last at least SECONDS + 3. With --full-screen the program's
// full-screen option is checked, so the clip plays on the whole screen.
#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <clocale>
#include <cstdio>
#include <cstring>

#include "bench/bench_support.h"
#include "window/form1.h"

using sorinel::bench::cpuSeconds;
using sorinel::bench::monotonic;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const bool fullScreen = argc > 1 && std::strcmp(argv[1], "--full-screen") == 0;
    if (fullScreen) {
        --argc;
        ++argv;
    }
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s [--full-screen] CLIP [SECONDS]\n", argv[0]);
        return 2;
    }
    const QFileInfo clip(QString::fromLocal8Bit(argv[1]));
    const double seconds = argc > 2 ? std::atof(argv[2]) : 10;
    QTemporaryDir folder;
    if (!QFile::link(clip.absoluteFilePath(), folder.filePath(clip.fileName()))) return 2;

    sorinel::bench::ShownWindow shown;
    if (!shown.exposed()) return 1;
    sorinel::window::Form1& form = shown.form;
    form.File1->setPath(folder.path());
    form.full_chk->setValue(fullScreen ? 1 : 0);
    sorinel::bench::settle(0.5);

    bool playing = false;
    QObject::connect(form.MediaPlayer1, &sorinel::platform::MediaPlayer::playStateChange, &form,
                     [&](int state) { playing = state == 3; });
    form.File1->setSelected(0, true);
    if (!sorinel::bench::waitUntil([&] { return playing; }, 30)) {
        std::fprintf(stderr, "the clip never played\n");
        return 1;
    }
    sorinel::bench::settle(2.0);

    const double position0 = form.MediaPlayer1->currentPosition();
    const auto threads0 = sorinel::bench::threadTicks();
    const double cpu0 = cpuSeconds();
    const double wall0 = monotonic();
    sorinel::bench::settle(seconds);
    const double cpu = cpuSeconds() - cpu0;
    const double wall = monotonic() - wall0;
    const QString shares = sorinel::bench::threadShares(threads0, sorinel::bench::threadTicks());
    const double played = form.MediaPlayer1->currentPosition() - position0;
    const bool stillPlaying = playing;
    const QSize area = sorinel::bench::videoAreaSize(form);
    form.MediaPlayer1->setUrl(QString());

    std::printf("playback: %.2f CPU s over %.1f s (%.1f s of media played), %.3f CPU s per second; video area %dx%d\n",
                cpu, wall, played, cpu / wall, area.width(), area.height());
    std::printf("by thread: %s\n", qPrintable(shares));
    std::printf("@ playback_cpu %.3f\n@ video_area %dx%d\n", cpu / wall, area.width(), area.height());
    return stillPlaying ? 0 : 1;
}
