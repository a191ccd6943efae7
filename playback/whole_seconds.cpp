// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/whole_seconds.h"

#include <cmath>
#include <limits>

namespace sorinel::playback {

std::optional<std::int32_t> roundToWholeSeconds(double seconds)
{
    if (!std::isfinite(seconds))
        return std::nullopt;
    // Done by hand rather than with nearbyint so that the result does not
    // depend on the floating-point environment's current rounding mode.
    const double below = std::floor(seconds);
    const double fraction = seconds - below;  // exact for doubles
    double rounded = below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0))
        rounded = below + 1.0;
    if (rounded < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}

}  // namespace sorinel::playback
