// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The random choice of the next entry of a list whose highest index is L.
//
// L <= 60: round(r * L), drawn again while it exceeds L.
// L > 60:  round(r * L + s), s the seconds field of the local time (0..59),
//          read afresh with a fresh r at every repetition, while it exceeds L.
// r is a 32-bit float uniform on [0, 1); the product and sum are carried in
// double and the result in 32 bits, so even the longest 16-bit list cannot
// overflow before the comparison with L. Rounding is half to even.

#include <cstdint>

#include "playback/ports.h"

namespace sorinel::playback {

// Returns an index in 0..L, or -1 for an empty list (L < 0).
std::int32_t drawRandomIndex(std::int16_t L, RandomSource& random, Clock& clock);

}  // namespace sorinel::playback
