// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// How long a click on a file-list entry takes to give the first playing
// report: the click from an idle player, then clicks that switch between two
// entries while one of them plays (median of those).
//
//   xvfb-run -a bench/first_frame_bench CLIP [SWITCHES]
// CLIP is any file the list shows (.mov for the 1080p H.264 clip); two copies
// of it are listed.
#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <vector>

#include "bench/bench_support.h"
#include "window/form1.h"

using sorinel::bench::monotonic;

namespace {

// Seconds from a mouse click on entry `row` to the next playing report, or -1.
double clickToPlaying(sorinel::window::Form1& form, int row) {
    bool playing = false;
    const auto connection = QObject::connect(form.MediaPlayer1, &sorinel::platform::MediaPlayer::playStateChange, &form,
                                             [&](int state) { playing = playing || state == 3; });
    auto* list = form.File1;
    const QRect rect = list->visualItemRect(list->item(row));
    const double clicked = monotonic();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    const bool ok = sorinel::bench::waitUntil([&] { return playing; }, 30);
    const double took = monotonic() - clicked;
    QObject::disconnect(connection);
    return ok ? took : -1;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CLIP [SWITCHES]\n", argv[0]);
        return 2;
    }
    const QFileInfo clip(QString::fromLocal8Bit(argv[1]));
    const int switches = argc > 2 ? std::max(1, std::atoi(argv[2])) : 6;
    QTemporaryDir folder;
    for (const char* name : {"a.", "b."})
        if (!QFile::link(clip.absoluteFilePath(), folder.filePath(QLatin1String(name) + clip.suffix()))) return 2;

    sorinel::bench::ShownWindow shown;
    if (!shown.exposed()) return 1;
    sorinel::window::Form1& form = shown.form;
    form.File1->setPath(folder.path());
    sorinel::bench::settle(0.5);

    const double fromIdle = clickToPlaying(form, 0);
    std::vector<double> switching;
    for (int k = 0; k < switches; ++k) {
        sorinel::bench::settle(1.0);  // let the playing file run a little first
        switching.push_back(clickToPlaying(form, (k + 1) % 2));
    }
    const QSize area = sorinel::bench::videoAreaSize(form);
    form.MediaPlayer1->setUrl(QString());

    std::sort(switching.begin(), switching.end());
    std::printf(
        "first frame, click to playing: from idle %.3f s; switching entries, median of %d %.3f s (min %.3f, max %.3f); "
        "video area %dx%d\n",
        fromIdle, switches, switching[switching.size() / 2], switching.front(), switching.back(), area.width(),
        area.height());
    std::printf("@ first_frame_idle %.3f\n@ first_frame_switch %.3f\n", fromIdle, switching[switching.size() / 2]);
    return fromIdle >= 0 && switching.front() >= 0 ? 0 : 1;
}
