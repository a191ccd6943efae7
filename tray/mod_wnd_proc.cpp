// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tray/mod_wnd_proc.h"

#include "tray/tray_record.h"
#include "playback/failure_stop.h"

namespace sorinel::tray::modWndProc {
namespace {

FormAccess* mainForm = nullptr;

void restoreAndShow(FormAccess& form) {
    // A failing window operation must not keep the message from the
    // procedures behind the hook, nor escape into the event loop.
    playback::stopFailure("restoring the window", [&] {
        if (form.windowState() == platform::kWindowStateMinimised) form.setWindowState(platform::kWindowStateNormal);
    });
    playback::stopFailure("showing the window", [&] { form.showWindow(); });
}

}  // namespace

platform::WindowProc PrevWndProc = nullptr;

std::int32_t HookWndProc(std::int32_t hWnd, std::int32_t uMsg, std::int32_t wParam, std::int32_t lParam) {
    // wParam is the icon's id; with one icon there is nothing to tell apart.
    if (uMsg == static_cast<std::int32_t>(WM_TRAYCALLBACK) && lParam == platform::WM_LBUTTONDOWN &&
        mainForm != nullptr) {
        restoreAndShow(*mainForm);
    }
    return platform::CallWindowProcA(PrevWndProc, hWnd, uMsg, wParam, lParam);
}

void installHook(FormAccess& form) {
    const auto hWnd = static_cast<std::int32_t>(form.hWnd());
    const platform::WindowProc previous = platform::SetWindowLongA(hWnd, platform::GWL_WNDPROC, &HookWndProc);
    if (previous != &HookWndProc) PrevWndProc = previous;
    mainForm = &form;
}

void releaseForm(const FormAccess& form) {
    if (mainForm == &form) mainForm = nullptr;
}

}  // namespace sorinel::tray::modWndProc
