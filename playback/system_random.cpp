// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/system_random.h"

#include <chrono>

namespace sorinel::playback {

SystemRandom::SystemRandom()
{
    reseedFromClock();
}

SystemRandom::SystemRandom(std::uint32_t seed) : engine_(seed) {}

float SystemRandom::next()
{
    // 24 random bits scaled by 2^-24: every value is exact in a float, and the
    // largest is 1 - 2^-24, so 1.0f cannot come out (generate_canonical<float>
    // may round up to 1.0f).
    const std::uint32_t bits = engine_() >> 8;
    return static_cast<float>(bits) * (1.0f / 16777216.0f);
}

void SystemRandom::reseedFromClock()
{
    const auto wall = std::chrono::system_clock::now().time_since_epoch().count();
    const auto steady = std::chrono::steady_clock::now().time_since_epoch().count();
    std::seed_seq seq{static_cast<std::uint32_t>(wall), static_cast<std::uint32_t>(wall >> 32),
                      static_cast<std::uint32_t>(steady), static_cast<std::uint32_t>(steady >> 32)};
    engine_.seed(seq);
}

}  // namespace sorinel::playback
