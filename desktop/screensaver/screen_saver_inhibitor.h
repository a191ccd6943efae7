// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeps the desktop's screen saver and screen blanking from starting while
// something the user watches is on screen.
//
// inhibit() and uninhibit() may be called any number of times in any order:
// only a change between "held" and "released" reaches the backend. A backend
// whose service is missing does nothing, silently: the player must work the
// same on a desktop without a screen saver. A backend releases what it holds
// when it is destroyed.

#include <QString>

#include <memory>

namespace sorinel::desktop {

class ScreenSaverInhibitor {
public:
    virtual ~ScreenSaverInhibitor();
    ScreenSaverInhibitor(const ScreenSaverInhibitor&) = delete;
    ScreenSaverInhibitor& operator=(const ScreenSaverInhibitor&) = delete;

    // reason is a short text some desktops show to the user.
    void inhibit(const QString& reason);
    void uninhibit();
    bool inhibited() const { return inhibited_; }

protected:
    ScreenSaverInhibitor() = default;
    // Called only on a change: startHolding() while released, stopHolding()
    // while held.
    virtual void startHolding(const QString& reason) = 0;
    virtual void stopHolding() = 0;

private:
    bool inhibited_ = false;
};

// Every backend this build has for the desktop it runs on, held together.
// appName is the name the desktop shows for whoever holds the screen saver.
std::unique_ptr<ScreenSaverInhibitor> makeScreenSaverInhibitor(const QString& appName);

}  // namespace sorinel::desktop
