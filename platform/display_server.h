// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether the program runs as a native Wayland client. Qt 6.4 tells only by
// the platform plugin's name ("wayland", "wayland-egl"), and the video, the
// tray stand-in and the window's layout each need to know: a header of its
// own, with nothing to link.

#include <QGuiApplication>

namespace sorinel::platform {

inline bool runsOnWayland() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

}  // namespace sorinel::platform
