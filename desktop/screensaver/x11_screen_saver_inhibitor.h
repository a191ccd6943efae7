// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Holds the screen saver of the X server itself, for desktops without the
// freedesktop service: the MIT-SCREEN-SAVER extension suspends the server's
// saver and its DPMS power saving for as long as this client asks, and an
// idle-timer reset every half minute also keeps screen savers that watch the
// server's idle time (such as xscreensaver) from starting.
//
// Uses Qt's own X connection, on the GUI thread. Without an X display (a
// Wayland session, the offscreen platform) it does nothing.

#include "desktop/screensaver/screen_saver_inhibitor.h"

#include <QObject>
#include <QTimer>

#include <memory>

typedef struct _XDisplay Display;

namespace sorinel::desktop {

class X11ScreenSaverInhibitor final : public QObject, public ScreenSaverInhibitor {
public:
    // display may be null: then nothing is held.
    explicit X11ScreenSaverInhibitor(Display* display, QObject* parent = nullptr);
    ~X11ScreenSaverInhibitor() override;

    // The application's X display, or null when it does not run on X.
    static Display* applicationDisplay();

    // The server honours the suspension (it has the extension, version 1.1).
    bool canSuspend() const { return canSuspend_; }

protected:
    void startHolding(const QString& reason) override;
    void stopHolding() override;

private:
    void resetIdleTimer();

    Display* display_;
    bool canSuspend_ = false;
    QTimer resetTimer_;
};

}  // namespace sorinel::desktop
