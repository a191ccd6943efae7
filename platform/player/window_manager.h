// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the desktop does with a request for full screen. Without a window
// manager (a bare X server, a kiosk session) the request is only noted and
// the window keeps its size and place: the player must cover the screen
// itself.

namespace sorinel::platform {

// True when nothing on the desktop will put a window on the whole screen.
bool fullScreenMustBePlacedByHand();

}  // namespace sorinel::platform
