// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one way a failure is swallowed. A failure is never shown to the person:
// where the event loop calls into the program, and at each step the program
// goes on past when one fails (the steps of a layout pass, of the close, of a
// tray click), it stops here and the layers in between let it through.
// Standard C++ only, so that the play list can use it too; the window wires
// a reporter that tells of each at debug level (platform/failures.h).

#include <exception>
#include <utility>

namespace sorinel::playback {

// Told where a failure stopped and what it said ("" when it said nothing).
using FailureReporter = void (*)(const char* where, const char* what);

inline FailureReporter& failureReporter()
{
    static FailureReporter reporter = nullptr;
    return reporter;
}

// Runs fn; a failure ends it there. True when it ran to its end.
template <typename Fn>
bool stopFailure(const char* where, Fn&& fn)
{
    try {
        std::forward<Fn>(fn)();
        return true;
    } catch (const std::exception& e) {
        if (FailureReporter report = failureReporter())
            report(where, e.what());
    } catch (...) {
        if (FailureReporter report = failureReporter())
            report(where, "");
    }
    return false;
}

}  // namespace sorinel::playback
