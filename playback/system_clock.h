// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real clock: local time of day from the system time, elapsed time from
// the monotonic clock.

#include "playback/ports.h"

namespace sorinel::playback {

class SystemClock final : public Clock {
public:
    float secondsSinceMidnight() override;
    int secondsField() override;
    double monotonicSeconds() override;
};

}  // namespace sorinel::playback
