// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/shell/window_procedures.h"

#include <unordered_map>

namespace sorinel::platform {
namespace {

std::unordered_map<std::int32_t, WindowProc>& procedures() {
    static std::unordered_map<std::int32_t, WindowProc> table;
    return table;
}

// The window's current procedure (DefWindowProcA for a window never set).
WindowProc currentWindowProc(std::int32_t hWnd) {
    const auto it = procedures().find(hWnd);
    return it == procedures().end() ? &DefWindowProcA : it->second;
}

}  // namespace

std::int32_t DefWindowProcA(std::int32_t, std::int32_t, std::int32_t, std::int32_t) { return 0; }

WindowProc SetWindowLongA(std::int32_t hWnd, std::int32_t nIndex, WindowProc dwNewLong) {
    if (nIndex != GWL_WNDPROC || dwNewLong == nullptr) return nullptr;
    const WindowProc previous = currentWindowProc(hWnd);
    procedures()[hWnd] = dwNewLong;
    return previous;
}

std::int32_t CallWindowProcA(WindowProc prev, std::int32_t hWnd, std::int32_t uMsg, std::int32_t wParam,
                             std::int32_t lParam) {
    if (prev == nullptr) prev = &DefWindowProcA;
    return prev(hWnd, uMsg, wParam, lParam);
}

std::int32_t SendMessageA(std::int32_t hWnd, std::int32_t uMsg, std::int32_t wParam, std::int32_t lParam) {
    // Looked up per message: a procedure may replace itself while it runs.
    return currentWindowProc(hWnd)(hWnd, uMsg, wParam, lParam);
}

}  // namespace sorinel::platform
