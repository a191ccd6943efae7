// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/system_clock.h"

#include <chrono>
#include <ctime>

namespace sorinel::playback {

namespace {
struct LocalNow {
    std::tm fields{};
    double fraction = 0.0;
};

LocalNow localNow()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    LocalNow now;
    const std::time_t t = ts.tv_sec;
    localtime_r(&t, &now.fields);
    now.fraction = static_cast<double>(ts.tv_nsec) / 1e9;
    return now;
}

int clampedSeconds(const std::tm& fields)
{
    // A leap second reads 60; the list draw counts on 0..59.
    return fields.tm_sec > 59 ? 59 : fields.tm_sec;
}
}  // namespace

float SystemClock::secondsSinceMidnight()
{
    const LocalNow now = localNow();
    const double seconds =
        now.fields.tm_hour * 3600.0 + now.fields.tm_min * 60.0 + clampedSeconds(now.fields) + now.fraction;
    return static_cast<float>(seconds);
}

int SystemClock::secondsField()
{
    return clampedSeconds(localNow().fields);
}

double SystemClock::monotonicSeconds()
{
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double>(since).count();
}

}  // namespace sorinel::playback
