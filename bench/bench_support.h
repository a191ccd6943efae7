// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small measuring helpers shared by the in-process benchmarks: the process's
// CPU time (every thread, mpv's decoders included) and its share by thread, a
// monotonic clock, the resident set size, and waiting in the event loop
// without spinning.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QWindow>
#include <QSize>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <map>
#include <vector>
#include <sys/resource.h>

#include "playback/system_clock.h"
#include "playback/system_random.h"
#include "window/form1.h"

namespace sorinel::bench {

inline double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

inline double monotonic() {
    static QElapsedTimer t = [] {
        QElapsedTimer e;
        e.start();
        return e;
    }();
    return t.nsecsElapsed() / 1e9;
}

// VmRSS of this process in KiB, -1 when unreadable.
inline long residentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// CPU clock ticks of each of this process's threads, by thread id, with the
// thread's name.
struct ThreadTicks {
    QString name;
    long long ticks = 0;
};
inline std::map<int, ThreadTicks> threadTicks() {
    std::map<int, ThreadTicks> threads;
    for (const QString& tid : QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(QStringLiteral("/proc/self/task/%1/stat").arg(tid));
        if (!stat.open(QIODevice::ReadOnly)) continue;
        const QByteArray line = stat.readAll();
        const qsizetype open = line.indexOf('('), close = line.lastIndexOf(')');
        if (open < 0 || close < open) continue;
        // After the name: state is field 3, utime and stime are fields 14 and 15.
        const QList<QByteArray> fields = line.mid(close + 2).split(' ');
        if (fields.size() < 13) continue;
        threads[tid.toInt()] = {QString::fromUtf8(line.mid(open + 1, close - open - 1)),
                                fields[11].toLongLong() + fields[12].toLongLong()};
    }
    return threads;
}

// Where the CPU time between two snapshots went, by thread name with numbered
// workers (llvmpipe-0, llvmpipe-1, ...) taken together, largest first.
inline QString threadShares(const std::map<int, ThreadTicks>& before, const std::map<int, ThreadTicks>& after) {
    std::map<QString, long long> byName;
    long long total = 0;
    for (const auto& [tid, now] : after) {
        const auto was = before.find(tid);
        const long long used = now.ticks - (was == before.end() ? 0 : was->second.ticks);
        QString name = now.name;
        while (!name.isEmpty() && name.back().isDigit()) name.chop(1);
        if (name.endsWith('-')) name.chop(1);
        byName[name] += used;
        total += used;
    }
    std::vector<std::pair<long long, QString>> ranked;
    for (const auto& [name, used] : byName) ranked.emplace_back(used, name);
    std::sort(ranked.rbegin(), ranked.rend());
    QStringList parts;
    for (const auto& [used, name] : ranked)
        if (total > 0 && used * 50 >= total) parts << QStringLiteral("%1 %2%").arg(name).arg(100 * used / total);
    return parts.join(QStringLiteral(", "));
}

// Handles events, sleeping between them, until done() or the time is up.
// Returns done()'s last answer.
// A timer at the deadline wakes the blocking wait when nothing else does.
inline bool waitUntil(const std::function<bool()>& done, double seconds) {
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    deadline.start(static_cast<int>(seconds * 1000));
    while (!done()) {
        if (!deadline.isActive()) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

inline void settle(double seconds) {
    waitUntil([] { return false; }, seconds);
}

// The program's window as a user starts it: loaded and shown.
struct ShownWindow {
    playback::SystemClock clock;
    playback::SystemRandom random;
    window::Form1 form{clock, random};

    ShownWindow() {
        form.raiseLoad();
        form.show();
    }
    bool exposed() { return QTest::qWaitForWindowExposed(&form); }
};

// The size of the area mpv draws the video into, in device pixels: the
// player's video area (its native window fills it) while a file plays.
inline QSize videoAreaSize(window::Form1& form) {
    const QWidget* player = form.MediaPlayer1;
    const auto* area = player->findChild<QWidget*>(QStringLiteral("videoArea"));
    return area ? area->size() * area->devicePixelRatio() : QSize();
}

}  // namespace sorinel::bench
