// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/screensaver/x11_screen_saver_inhibitor.h"

#include <QGuiApplication>

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

namespace sorinel::desktop {

namespace {

// Well under the shortest saver delay a desktop offers (one minute).
constexpr int IdleResetMs = 30'000;

bool serverCanSuspend(Display* display) {
    if (!display) return false;
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    // Asking for the suspension of a server without the extension would be
    // a protocol error, which Xlib answers by ending the process.
    if (!XScreenSaverQueryExtension(display, &eventBase, &errorBase)) return false;
    if (!XScreenSaverQueryVersion(display, &major, &minor)) return false;
    return major > 1 || (major == 1 && minor >= 1);
}

}  // namespace

X11ScreenSaverInhibitor::X11ScreenSaverInhibitor(Display* display, QObject* parent)
    : QObject(parent), display_(display), canSuspend_(serverCanSuspend(display)) {
    resetTimer_.setInterval(IdleResetMs);
    connect(&resetTimer_, &QTimer::timeout, this, &X11ScreenSaverInhibitor::resetIdleTimer);
}

X11ScreenSaverInhibitor::~X11ScreenSaverInhibitor() {
    // At exit Qt may already have closed its display; the server ends the
    // suspension itself when the connection goes.
    if (inhibited() && display_ && QGuiApplication::instance()) stopHolding();
}

Display* X11ScreenSaverInhibitor::applicationDisplay() {
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app) return nullptr;
    auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

void X11ScreenSaverInhibitor::startHolding(const QString&) {
    if (!display_) return;
    if (canSuspend_) XScreenSaverSuspend(display_, True);
    resetIdleTimer();
    resetTimer_.start();
}

void X11ScreenSaverInhibitor::stopHolding() {
    resetTimer_.stop();
    if (!display_) return;
    if (canSuspend_) XScreenSaverSuspend(display_, False);
    XFlush(display_);
}

void X11ScreenSaverInhibitor::resetIdleTimer() {
    XResetScreenSaver(display_);
    XFlush(display_);
}

}  // namespace sorinel::desktop
