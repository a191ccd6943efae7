// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Rounding of seconds to whole seconds, the way every timed option compares
// them: to the nearest whole number, a half going to the even neighbour
// (2.5 -> 2, 3.5 -> 4), into a 32-bit signed integer.

#include <cstdint>
#include <optional>

namespace sorinel::playback {

// Empty when the value is NaN, infinite or its rounding does not fit 32 bits.
std::optional<std::int32_t> roundToWholeSeconds(double seconds);

}  // namespace sorinel::playback
