// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/wait_timer.h"

#include <algorithm>

#include "playback/whole_seconds.h"

namespace sorinel::playback {

namespace {
// Asked of waitForEvents beyond the remaining time, so that the reading after
// a full wait lies strictly past the deadline (the test is strict).
constexpr double kPastDeadline = 0.001;
}  // namespace

double cooperativeWait(std::int32_t sc, Clock& clock, EventPump& events, const std::function<bool()>& cancelled)
{
    const float first = clock.secondsSinceMidnight();
    const double firstMonotonic = clock.monotonicSeconds();
    const auto start = roundToWholeSeconds(first);
    if (!start)
        return 0.0;
    std::int32_t deadline = 0;
    if (__builtin_add_overflow(*start, sc, &deadline))
        return 0.0;

    // The span the local clock would need to pass the deadline, measured
    // instead on the clock that does not restart at midnight.
    const double span = static_cast<double>(deadline) - static_cast<double>(first);
    for (;;) {
        if (cancelled && cancelled())
            break;
        const double elapsed = clock.monotonicSeconds() - firstMonotonic;
        if (elapsed > span)
            break;
        events.waitForEvents(std::max(0.0, span - elapsed) + kPastDeadline);
    }
    return clock.secondsSinceMidnight();
}

}  // namespace sorinel::playback
