// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window's unit: twips, 15 to a device-independent pixel (1/1440 inch at
// 96 dots per inch). Controls hold whole pixels, so a length written in twips
// comes back rounded to a multiple of 15.

#include <cmath>
#include <stdexcept>

namespace sorinel::window {

inline constexpr float kTwipsPerPixel = 15.0f;

// Nearest whole pixel; a length no widget can take (not finite, beyond Qt's
// widget size limit) throws, so the layout pass skips that step.
inline int pixelsFromTwips(float twips) {
    const double px = std::nearbyint(static_cast<double>(twips) / kTwipsPerPixel);
    if (!std::isfinite(px) || std::fabs(px) > 16777215.0) throw std::range_error("length out of range");
    return static_cast<int>(px);
}

// A size: as pixelsFromTwips, and never negative.
inline int sizeFromTwips(float twips) {
    const int px = pixelsFromTwips(twips);
    if (px < 0) throw std::range_error("negative size");
    return px;
}

inline float twipsFromPixels(int pixels) { return static_cast<float>(pixels) * kTwipsPerPixel; }

}  // namespace sorinel::window
