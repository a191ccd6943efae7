// Resident set size of the window process: after start, after the first few
// automatic file changes (decoders, soundfont and GL buffers in place), and
// after many automatic file changes through a folder of short clips of every
// kind the list shows, with list looping on.
//
//   xvfb-run -a bench/memory_bench MEDIA_DIR [CHANGES]
// MEDIA_DIR holds the clips made by scripts/gen-media.sh (1 s clips keep it short).
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <clocale>
#include <cstdio>

#include "bench/bench_support.h"
#include "playback/system_clock.h"
#include "playback/system_random.h"
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
    constexpr int kWarmChanges = 5;
    QTemporaryDir folder;
    for (const QFileInfo& file : QDir(media).entryInfoList(QDir::Files))
        if (!file.fileName().startsWith('.')) QFile::link(file.absoluteFilePath(), folder.filePath(file.fileName()));

    sorinel::playback::SystemClock clock;
    sorinel::playback::SystemRandom random;
    sorinel::window::Form1 form(clock, random);
    form.raiseLoad();
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) return 1;
    form.File1->setPath(folder.path());
    form.listloop_chk->setValue(1);
    sorinel::bench::settle(1.0);
    const long atStart = residentKiB();

    int playingReports = 0;
    long afterWarmUp = -1;
    QObject::connect(form.MediaPlayer1, &sorinel::platform::MediaPlayer::playStateChange, &form, [&](int state) {
        if (state != 3) return;
        ++playingReports;
        if (playingReports == kWarmChanges + 1) afterWarmUp = residentKiB();
    });
    const double wall0 = monotonic();
    form.File1->setSelected(0, true);
    // The first report is the clicked file; every further one is a change.
    const bool done = sorinel::bench::waitUntil([&] { return playingReports > changes; }, 10.0 * changes + 30);
    sorinel::bench::settle(0.5);
    const long atEnd = residentKiB();
    const double wall = monotonic() - wall0;
    form.MediaPlayer1->setUrl(QString());

    const auto mib = [](long kib) { return kib / 1024.0; };
    std::printf("memory (VmRSS): after start %.1f MiB, after %d changes %.1f MiB, after %d changes %.1f MiB (%.0f s, %d files)\n",
                mib(atStart), kWarmChanges, mib(afterWarmUp), playingReports - 1, mib(atEnd), wall,
                form.File1->ListCount());
    std::printf("growth: from start %+.1f%%, from change %d to change %d %+.1f%%\n",
                100.0 * (atEnd - atStart) / atStart, kWarmChanges, playingReports - 1,
                100.0 * (atEnd - afterWarmUp) / afterWarmUp);
    std::printf("@ rss_start %.1f\n@ rss_warm %.1f\n@ rss_end %.1f\n@ rss_changes %d\n@ rss_growth_start %.1f\n@ rss_growth_warm %.1f\n",
                mib(atStart), mib(afterWarmUp), mib(atEnd), playingReports - 1, 100.0 * (atEnd - atStart) / atStart,
                100.0 * (atEnd - afterWarmUp) / afterWarmUp);
    return done ? 0 : 1;
}
