// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// CPU used by the shown window with no file loaded, as a share of one core.
//
//   xvfb-run -a bench/idle_cpu_bench [SECONDS]
#include <QApplication>
#include <QTest>
#include <clocale>
#include <cstdio>

#include "bench/bench_support.h"

using sorinel::bench::cpuSeconds;
using sorinel::bench::monotonic;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10;

    sorinel::bench::ShownWindow shown;
    if (!shown.exposed()) return 1;
    sorinel::bench::settle(1.0);

    const double cpu0 = cpuSeconds();
    const double wall0 = monotonic();
    sorinel::bench::settle(seconds);
    const double cpu = cpuSeconds() - cpu0;
    const double wall = monotonic() - wall0;
    std::printf("idle: %.3f CPU s over %.1f s with no file loaded, %.3f%% of one core\n", cpu, wall,
                100.0 * cpu / wall);
    std::printf("@ idle_percent %.3f\n@ idle_seconds %.0f\n", 100.0 * cpu / wall, wall);
    return 0;
}
