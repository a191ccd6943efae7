// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's icon in the notification area.

#include "tray/form_access.h"
#include "tray/tray_record.h"

namespace sorinel::tray {

// The records TrayAdd and TrayDelete pass to the shell.
TrayRecord trayAddRecord(const FormAccess& form);
TrayRecord trayDeleteRecord(const FormAccess& form);

// Adds the icon: Img_taskbar's picture, the tip, callback message 1025 to the
// window. The shell's success flag is not examined.
void TrayAdd(FormAccess& form);

// Removes the icon at once.
void TrayDelete(FormAccess& form);

}  // namespace sorinel::tray
