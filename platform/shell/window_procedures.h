// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Window procedures as the other desktop has them: every window has one
// current procedure that receives its messages; a program may replace it and
// pass messages on to the one it replaced. Windows are named by 32-bit
// handles; a window nobody has touched has the default procedure, which
// handles nothing and returns 0.
//
// Everything here is for the GUI thread only.

#include <cstdint>

namespace sorinel::platform {

using WindowProc = std::int32_t (*)(std::int32_t hWnd, std::int32_t uMsg, std::int32_t wParam, std::int32_t lParam);

inline constexpr std::int32_t GWL_WNDPROC = -4;

// A window's state as the form reports and takes it.
inline constexpr int kWindowStateNormal = 0;
inline constexpr int kWindowStateMinimised = 1;

// The mouse numbers a tray icon reports to its window.
inline constexpr std::int32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr std::int32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr std::int32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr std::int32_t WM_MBUTTONDOWN = 0x0207;

// The procedure every window starts with: returns 0.
std::int32_t DefWindowProcA(std::int32_t hWnd, std::int32_t uMsg, std::int32_t wParam, std::int32_t lParam);

// Replaces the window's procedure and returns the previous one. Only
// GWL_WNDPROC is supported; another index, or a null procedure, changes
// nothing and returns nullptr.
WindowProc SetWindowLongA(std::int32_t hWnd, std::int32_t nIndex, WindowProc dwNewLong);

// Calls prev with the message. A null prev is handled as DefWindowProcA, so a
// procedure that was never saved cannot crash the caller.
std::int32_t CallWindowProcA(WindowProc prev, std::int32_t hWnd, std::int32_t uMsg, std::int32_t wParam,
                             std::int32_t lParam);

// Delivers a message to the window's current procedure and returns its
// result; the procedure runs before this returns.
std::int32_t SendMessageA(std::int32_t hWnd, std::int32_t uMsg, std::int32_t wParam, std::int32_t lParam);

}  // namespace sorinel::platform
