// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/screensaver/screen_saver_inhibitor.h"

namespace sorinel::desktop {

ScreenSaverInhibitor::~ScreenSaverInhibitor() = default;

void ScreenSaverInhibitor::inhibit(const QString& reason) {
    if (inhibited_) return;
    inhibited_ = true;
    startHolding(reason);
}

void ScreenSaverInhibitor::uninhibit() {
    if (!inhibited_) return;
    inhibited_ = false;
    stopHolding();
}

}  // namespace sorinel::desktop
