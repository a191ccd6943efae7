// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tray/tray_icon.h"

#include "platform/shell/notify_icon.h"

namespace sorinel::tray {

TrayRecord trayAddRecord(const FormAccess& form) {
    return makeTrayRecord(form.hWnd(), platform::NIF_MESSAGE | platform::NIF_ICON | platform::NIF_TIP,
                          form.taskbarPictureHandle(), kTrayTip);
}

TrayRecord trayDeleteRecord(const FormAccess& form) {
    return makeTrayRecord(form.hWnd(), platform::NIF_MESSAGE | platform::NIF_TIP, form.taskbarPictureHandle(), "");
}

void TrayAdd(FormAccess& form) {
    const TrayRecord record = trayAddRecord(form);
    platform::Shell_NotifyIconA(platform::NIM_ADD, record);
}

void TrayDelete(FormAccess& form) {
    const TrayRecord record = trayDeleteRecord(form);
    platform::Shell_NotifyIconA(platform::NIM_DELETE, record);
}

}  // namespace sorinel::tray
