// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tray/lifecycle.h"

#include "playback/ports.h"
#include "tray/mod_wnd_proc.h"
#include "tray/tray_icon.h"
#include "playback/failure_stop.h"

namespace sorinel::tray {
namespace {

// Each step of the close runs even when one before it fails: an exception
// escaping a close handler would end the program without stopping the player,
// or leave a window that cannot be closed.
template <typename Step>
void runStep(Step step) {
    playback::stopFailure("a step of the start or the close", step);
}

}  // namespace

void Form_Load(FormAccess& form) {
    modWndProc::installHook(form);
    runStep([&] { TrayAdd(form); });
}

void Form_Unload(FormAccess& form) {
    // Before anything can pump events: from here on no handler may start a
    // file, whether a timer, a list click or a NextPlay on the stack.
    runStep([&] { form.beginShutdown(); });
    runStep([&] { form.timer1().setEnabled(false); });
    runStep([&] { form.timer2().setEnabled(false); });
    runStep([&] { form.player().stop(); });
    runStep([&] { TrayDelete(form); });
    runStep([&] { form.waitTimer(2); });
    // The window object may be destroyed once the event loop ends; the hook
    // stays installed but must not reach it any more.
    modWndProc::releaseForm(form);
    form.endProgram();
}

}  // namespace sorinel::tray
