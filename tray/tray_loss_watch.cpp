// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tray/tray_loss_watch.h"

#include <QWidget>

namespace sorinel::tray {

TrayLossWatch::TrayLossWatch(QWidget& window, std::function<bool()> trayHolds)
    : window_(window), trayHolds_(std::move(trayHolds)) {
    timer_.setInterval(kCheckIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &TrayLossWatch::check);
}

void TrayLossWatch::windowPutAway() { timer_.start(); }

void TrayLossWatch::stop() { timer_.stop(); }

void TrayLossWatch::check() {
    if (window_.isVisible()) {
        stop();
        return;
    }
    if (trayHolds_()) return;
    stop();
    if (desktopHasTaskBar())
        window_.showMinimized();
    else
        window_.showNormal();
}

bool desktopHasTaskBar() { return !qEnvironmentVariableIsEmpty("XDG_CURRENT_DESKTOP"); }

}  // namespace sorinel::tray
