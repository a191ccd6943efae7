// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cooperative wait: waits a whole number of seconds while the window's
// events go on being handled, so any handler may run nested inside it.
//
// The deadline keeps the rounding of the local clock at the start (start =
// clock rounded half to even, deadline = start + sc), so a wait lasts from
// sc - 0.5 to sc + 0.5 seconds. The elapsed time is measured on the
// monotonic clock, so a wait that spans local midnight or a change of the
// system time still lasts that long. Rather than spin, it blocks in the
// event loop until the next event or the deadline.

#include <cstdint>
#include <functional>

#include "playback/ports.h"

namespace sorinel::playback {

// Returns the local clock reading when the wait ended, or 0 at once when
// start + sc does not fit 32 bits (or the clock's reading cannot be rounded).
// `cancelled` is asked before each pass of event handling; when it answers
// true the wait ends at once.
double cooperativeWait(std::int32_t sc, Clock& clock, EventPump& events, const std::function<bool()>& cancelled);

}  // namespace sorinel::playback
