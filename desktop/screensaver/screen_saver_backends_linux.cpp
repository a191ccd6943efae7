// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The backends of a Linux desktop: the freedesktop service for desktops that
// run one (GNOME, KDE, Xfce, ...), the X server's own saver for the rest.
#include "desktop/screensaver/dbus_screen_saver_inhibitor.h"
#include "desktop/screensaver/inhibitor_group.h"
#include "desktop/screensaver/x11_screen_saver_inhibitor.h"

namespace sorinel::desktop {

std::unique_ptr<ScreenSaverInhibitor> makeScreenSaverInhibitor(const QString& appName) {
    std::vector<std::unique_ptr<ScreenSaverInhibitor>> members;
    members.push_back(std::make_unique<DBusScreenSaverInhibitor>(appName));
    if (Display* display = X11ScreenSaverInhibitor::applicationDisplay())
        members.push_back(std::make_unique<X11ScreenSaverInhibitor>(display));
    return std::make_unique<InhibitorGroup>(std::move(members));
}

}  // namespace sorinel::desktop
