// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Minimising puts the window away with only its tray icon as the way back.
// Should the tray go away meanwhile (its host quit or crashed), nothing could
// bring the window back: this watch shows it again, minimised where the
// desktop has a task bar to restore it from, normal where it has none.
//
// The tray says nothing when it goes, so the watch asks about once a second,
// and only while the window is put away.

#include <QObject>
#include <QTimer>
#include <functional>

class QWidget;

namespace sorinel::tray {

class TrayLossWatch : public QObject {
public:
    // trayHolds: whether the tray icon is there to bring the window back.
    TrayLossWatch(QWidget& window, std::function<bool()> trayHolds);

    // The window has just been put away into the tray.
    void windowPutAway();
    // The window is on screen again, or going away for good.
    void stop();

    static constexpr int kCheckIntervalMs = 1000;

private:
    void check();

    QWidget& window_;
    std::function<bool()> trayHolds_;
    QTimer timer_;
};

// Whether the desktop shows minimised windows in a task bar (or a dock, or an
// overview) from which a person can restore them. Desktop environments all
// do and say who they are in XDG_CURRENT_DESKTOP; a bare window manager sets
// nothing there and may have no such place.
bool desktopHasTaskBar();

}  // namespace sorinel::tray
