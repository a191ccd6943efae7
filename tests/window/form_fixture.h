// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One fresh main window per test, with the real clock and a random source
// that counts its re-seeds.

#include <memory>

#include "playback/system_clock.h"
#include "window/form1.h"

namespace sorinel::testing {

class CountingRandom final : public playback::RandomSource {
public:
    float next() override { return 0.25f; }
    void reseedFromClock() override { ++reseeds; }
    int reseeds = 0;
};

struct FormUnderTest {
    playback::SystemClock clock;
    CountingRandom random;
    std::unique_ptr<window::Form1> form = std::make_unique<window::Form1>(clock, random);

    // Load, show, and let the first layout pass and activation run.
    void start();
};

}  // namespace sorinel::testing
