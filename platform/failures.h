// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the event loop calls into the program (a signal's handler, a queued
// call, a tray click, a request from the bus) a failure stops, through the
// program's one way of swallowing one (playback/failure_stop.h). The category
// "sorinel.failures" tells of each at debug level, off unless asked for:
// QT_LOGGING_RULES="sorinel.failures.debug=true".

#include "playback/failure_stop.h"

#include <QLoggingCategory>

namespace sorinel::platform {

inline const QLoggingCategory& failures() {
    static const QLoggingCategory category("sorinel.failures", QtInfoMsg);
    return category;
}

// Every failure stopped anywhere in the program is told of under the
// category from here on. Called once, at start.
inline void reportFailuresAtDebugLevel() {
    playback::failureReporter() = [](const char* where, const char* what) {
        if (*what)
            qCDebug(failures) << where << "failed:" << what;
        else
            qCDebug(failures) << where << "failed";
    };
}

template <typename Fn>
void atEventLoopBoundary(const char* where, Fn&& fn) {
    playback::stopFailure(where, std::forward<Fn>(fn));
}

}  // namespace sorinel::platform
