// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/player/window_manager.h"

#include <QGuiApplication>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace sorinel::platform {

namespace {

// The window a property of `window` names, or None.
Window windowProperty(Display* display, Window window, Atom property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Window value = None;
    if (XGetWindowProperty(display, window, property, 0, 1, False, XA_WINDOW, &type, &format, &count, &after, &data) ==
            Success &&
        type == XA_WINDOW && format == 32 && count == 1 && data)
        value = *reinterpret_cast<Window*>(data);
    if (data) XFree(data);
    return value;
}

}  // namespace

bool fullScreenMustBePlacedByHand() {
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    auto* x11 = app ? app->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display) return false;  // not X11: the compositor places full-screen windows
    // A window manager that follows the desktop conventions names a window
    // of its own on the root, and that window names itself: a name left over
    // by a manager that has exited does not.
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    const Window named = windowProperty(display, DefaultRootWindow(display), check);
    if (named == None) return true;
    // Asking a window that is gone raises an X error; Qt's handler reports
    // and ignores it, so the answer is simply None.
    return windowProperty(display, named, check) != named;
}

}  // namespace sorinel::platform
