// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Start and shutdown of the main window, and the tray icon that holds it
// while it is minimised.

#include "tray/form_access.h"

namespace sorinel::tray {

// Installs the window hook, then adds the tray icon.
void Form_Load(FormAccess& form);

// Disables both timers, stops the player, removes the tray icon, waits about
// two seconds while events are still handled, then ends the program.
void Form_Unload(FormAccess& form);

}  // namespace sorinel::tray
