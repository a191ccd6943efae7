#pragma once
// Small measuring helpers shared by the in-process benchmarks: the process's
// CPU time (every thread, mpv's decoders included), a monotonic clock, the
// resident set size, and waiting in the event loop without spinning.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QOpenGLWidget>
#include <QSize>
#include <QTimer>
#include <functional>
#include <sys/resource.h>

#include "window/form1.h"

namespace sorinel::bench {

inline double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

inline double monotonic() {
    static QElapsedTimer t = [] { QElapsedTimer e; e.start(); return e; }();
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

// The size of the area mpv draws the video into, in device pixels.
inline QSize videoAreaSize(window::Form1& form) {
    const auto* video = form.MediaPlayer1->findChild<QOpenGLWidget*>();
    return video ? video->size() * video->devicePixelRatio() : QSize();
}

}  // namespace sorinel::bench
