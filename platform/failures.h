#pragma once
// A failure is never shown to the person, and nothing is printed by default.
// Where the event loop calls into the program (a signal's handler, a queued
// call, a tray click, a request from the bus) a failure stops here, at one
// helper, and the layers in between let it through. The category
// "sorinel.failures" tells of each at debug level, off unless asked for:
// QT_LOGGING_RULES="sorinel.failures.debug=true".

#include <QLoggingCategory>
#include <exception>

namespace sorinel::platform {

inline const QLoggingCategory& failures() {
    static const QLoggingCategory category("sorinel.failures", QtInfoMsg);
    return category;
}

template <typename Fn>
void atEventLoopBoundary(const char* where, Fn&& fn) {
    try {
        fn();
    } catch (const std::exception& e) {
        qCDebug(failures) << where << "failed:" << e.what();
    } catch (...) {
        qCDebug(failures) << where << "failed";
    }
}

}  // namespace sorinel::platform
