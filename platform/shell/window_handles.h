// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Stable 32-bit handles for windows, as the shell stand-ins name windows.
// A window keeps its handle for its life; handles are never reused (not even
// for a new window at a freed address) and never 0. GUI thread only.

#include <cstdint>

class QWidget;

namespace sorinel::platform {

std::uint32_t handleOfWindow(QWidget& window);

}  // namespace sorinel::platform
