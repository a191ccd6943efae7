// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/player/window_manager.h"

namespace sorinel::platform {

// Without X11 support the desktop's compositor places full-screen windows.
bool fullScreenMustBePlacedByHand() { return false; }

}  // namespace sorinel::platform
