// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A build for a system without any backend here: video plays, and the
// screen saver is left to the desktop.
#include "desktop/screensaver/screen_saver_inhibitor.h"

namespace sorinel::desktop {

namespace {

class NoScreenSaverInhibitor final : public ScreenSaverInhibitor {
protected:
    void startHolding(const QString&) override {}
    void stopHolding() override {}
};

}  // namespace

std::unique_ptr<ScreenSaverInhibitor> makeScreenSaverInhibitor(const QString&) {
    return std::make_unique<NoScreenSaverInhibitor>();
}

}  // namespace sorinel::desktop
