// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The hook on the main window's procedure: a left press on the tray icon
// (callback message 1025, mouse number 513) brings the window back, normal and
// shown. Every message, that one included, then goes on to the procedure the
// hook replaced, whose result is returned.

#include <cstdint>

#include "platform/shell/window_procedures.h"
#include "tray/form_access.h"

namespace sorinel::tray::modWndProc {

// The window's procedure before the hook. Set once by installHook; the hook
// stays installed until the process ends.
extern platform::WindowProc PrevWndProc;

std::int32_t HookWndProc(std::int32_t hWnd, std::int32_t uMsg, std::int32_t wParam, std::int32_t lParam);

// Replaces form's procedure by HookWndProc and saves the previous one. On a
// window already hooked the saved procedure is kept: saving the hook itself
// would make every message call the hook again without end.
void installHook(FormAccess& form);

// Stops using form, which is going away; the hook itself stays installed.
void releaseForm(const FormAccess& form);

}  // namespace sorinel::tray::modWndProc
