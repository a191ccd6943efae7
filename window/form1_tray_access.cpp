// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/form1_tray_access.h"

#include "platform/shell/picture_handles.h"
#include "platform/shell/window_procedures.h"
#include "window/form1.h"

namespace sorinel::window {

Form1TrayAccess::Form1TrayAccess(Form1& form, playback::Timer& timer1, playback::Timer& timer2,
                                 playback::Player& player)
    : form_(form), timer1_(timer1), timer2_(timer2), player_(player) {}

std::uint32_t Form1TrayAccess::hWnd() const { return form_.hWnd(); }

int Form1TrayAccess::windowState() const {
    return form_.isMinimized() ? platform::kWindowStateMinimised : platform::kWindowStateNormal;
}

void Form1TrayAccess::setWindowState(int state) {
    const Qt::WindowStates now = form_.windowState();
    form_.setWindowState(state == platform::kWindowStateMinimised ? (now | Qt::WindowMinimized)
                                                                  : (now & ~Qt::WindowMinimized));
}

void Form1TrayAccess::showWindow() {
    form_.show();
    if (form_.isMinimized()) form_.showNormal();
    form_.raise();
    form_.activateWindow();
}

// Registered once, on first use: the handle stays the same for the tray's
// add and delete records.
std::uint32_t Form1TrayAccess::taskbarPictureHandle() const {
    if (pictureHandle_ == 0 && !form_.Img_taskbar->picture().isNull())
        pictureHandle_ = platform::registerPicture(form_.Img_taskbar->picture());
    return pictureHandle_;
}

void Form1TrayAccess::beginShutdown() { form_.sequence().beginShutdown(); }

double Form1TrayAccess::waitTimer(std::int32_t sc) { return form_.sequence().WaitTimer(sc); }

void Form1TrayAccess::endProgram() { form_.endProgram(); }

}  // namespace sorinel::window
