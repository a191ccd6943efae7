// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/random_draw.h"

#include "playback/whole_seconds.h"

namespace sorinel::playback {

namespace {
// Short lists use r * L alone; from 62 entries on the draw adds the seconds.
constexpr std::int16_t kLongestShortRule = 60;
}  // namespace

std::int32_t drawRandomIndex(std::int16_t L, RandomSource& random, Clock& clock)
{
    // On an empty list every draw of 0 would be thrown away until one gives
    // -1; the outcome is certain, so it is given at once.
    if (L < 0)
        return -1;
    const double scale = static_cast<double>(static_cast<float>(L));
    for (;;) {
        const double r = static_cast<double>(random.next());
        double x = r * scale;
        if (L > kLongestShortRule)
            x += static_cast<double>(clock.secondsField());
        const auto index = roundToWholeSeconds(x);
        if (index && *index >= 0 && *index <= L)
            return *index;
    }
}

}  // namespace sorinel::playback
