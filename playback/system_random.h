// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real pseudo-random source: a Mersenne Twister giving r uniform on
// [0, 1) as a 32-bit float, never 1.0f.

#include <cstdint>
#include <random>

#include "playback/ports.h"

namespace sorinel::playback {

class SystemRandom final : public RandomSource {
public:
    SystemRandom();  // seeded from the clock
    explicit SystemRandom(std::uint32_t seed);
    float next() override;
    void reseedFromClock() override;

private:
    std::mt19937 engine_;
};

}  // namespace sorinel::playback
