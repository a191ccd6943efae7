// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Resident set size of the window process: after start, after the first pass
// through the folder (every kind of file decoded once: decoders, soundfont and
// GL buffers in place), and after many automatic file changes through a
// folder of short clips of every kind the list shows, with list looping on.
// The size at the end of each pass shows whether it keeps climbing.
//
//   xvfb-run -a bench/memory_bench MEDIA_DIR [CHANGES]
// MEDIA_DIR holds the clips made by scripts/gen-media.sh (1 s clips keep it short).
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <clocale>
#include <cstdio>
#include <limits>
#include <algorithm>
#include <vector>

#include "bench/bench_support.h"
#include "window/form1.h"

using sorinel::bench::monotonic;
using sorinel::bench::residentKiB;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s MEDIA_DIR [CHANGES]\n", argv[0]);
        return 2;
    }
    const QString media = QString::fromLocal8Bit(argv[1]);
    const int changes = argc > 2 ? std::atoi(argv[2]) : 50;
    QTemporaryDir folder;
    for (const QFileInfo& file : QDir(media).entryInfoList(QDir::Files))
        if (!file.fileName().startsWith('.')) QFile::link(file.absoluteFilePath(), folder.filePath(file.fileName()));

    sorinel::bench::ShownWindow shown;
    if (!shown.exposed()) return 1;
    sorinel::window::Form1& form = shown.form;
    form.File1->setPath(folder.path());
    form.listloop_chk->setValue(1);
    const int files = form.File1->ListCount();
    if (files < 2) return 2;
    sorinel::bench::settle(1.0);
    const long atStart = residentKiB();

    // The first playing report is the clicked file; every further one is a
    // change. passEnds[k] is the size when change (k + 1) * files plays.
    int playingReports = 0;
    std::vector<long> passEnds;
    std::vector<long> atChange;  // the size as each file starts, the clicked one first
    QObject::connect(form.MediaPlayer1, &sorinel::platform::MediaPlayer::playStateChange, &form, [&](int state) {
        if (state != 3) return;
        const int change = playingReports++;
        atChange.push_back(residentKiB());
        if (change > 0 && change % files == 0) passEnds.push_back(residentKiB());
    });
    const double wall0 = monotonic();
    form.File1->setSelected(0, true);
    const bool done = sorinel::bench::waitUntil([&] { return playingReports > changes; }, 10.0 * changes + 30);
    sorinel::bench::settle(0.5);
    const long atEnd = residentKiB();
    const double wall = monotonic() - wall0;
    form.MediaPlayer1->setUrl(QString());
    if (passEnds.empty()) {
        std::fprintf(stderr, "fewer changes than one pass through the %d files\n", files);
        return 1;
    }

    const auto mib = [](long kib) { return kib / 1024.0; };
    const auto growth = [](long from, long to) { return 100.0 * (to - from) / from; };
    std::printf(
        "memory (VmRSS) over %d automatic changes through %d files in %.0f s: after start %.1f MiB, at the end %.1f "
        "MiB\n",
        playingReports - 1, files, wall, mib(atStart), mib(atEnd));
    std::printf("at the end of each pass:");
    for (size_t k = 0; k < passEnds.size(); ++k) std::printf(" %zu: %.1f MiB", (k + 1) * files, mib(passEnds[k]));
    // Over the last whole pass: what one more round through the folder adds
    // once everything has been loaded at least once.
    const size_t passes = passEnds.size();
    const double lastPass =
        passes > 1 ? growth(passEnds[passes - 2], passEnds[passes - 1]) : std::numeric_limits<double>::quiet_NaN();
    std::printf(
        "\ngrowth: from start %+.1f%%, from the end of the first pass (change %d) %+.1f%%, over the last whole pass "
        "%+.1f%%\n",
        growth(atStart, atEnd), files, growth(passEnds.front(), atEnd), lastPass);
    // The files differ in size, so the second half's growth compares the mean
    // over the last whole pass before its start with that over the last pass.
    const auto passMean = [&](int lastChange) {
        double sum = 0;
        for (int k = lastChange - files + 1; k <= lastChange; ++k) sum += atChange.at(k);
        return static_cast<long>(sum / files);
    };
    const int lastChange = std::min<int>(changes, static_cast<int>(atChange.size()) - 1);
    const double secondHalf = lastChange / 2 >= files ? growth(passMean(lastChange / 2), passMean(lastChange))
                                                      : std::numeric_limits<double>::quiet_NaN();
    std::printf("growth over the second half (a pass's mean at change %d against at change %d): %+.2f%%\n",
                lastChange / 2, lastChange, secondHalf);
    std::printf(
        "@ rss_start %.1f\n@ rss_warm %.1f\n@ rss_warm_change %d\n@ rss_end %.1f\n@ rss_changes %d\n"
        "@ rss_growth_start %.1f\n@ rss_growth_warm %.1f\n@ rss_growth_last_pass %.1f\n"
        "@ rss_growth_second_half %.2f\n",
        mib(atStart), mib(passEnds.front()), files, mib(atEnd), playingReports - 1, growth(atStart, atEnd),
        growth(passEnds.front(), atEnd), lastPass, secondHalf);
    return done ? 0 : 1;
}
