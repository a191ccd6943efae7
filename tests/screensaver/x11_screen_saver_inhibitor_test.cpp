// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The X fallback against the X server's own screen saver: the test's Xvfb
// is told to start its saver after one idle second; held, it must not start.
#include "desktop/screensaver/x11_screen_saver_inhibitor.h"

#include "desktop.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

namespace sorinel::desktop {
namespace {

using sorinel::testing::pumpFor;
using sorinel::testing::waitUntil;

class ServerSaver : public ::testing::Test {
protected:
    void SetUp() override {
        display = X11ScreenSaverInhibitor::applicationDisplay();
        ASSERT_NE(display, nullptr) << "the window tests run on X";
        XGetScreenSaver(display, &oldTimeout, &oldInterval, &oldBlanking, &oldExposures);
        XSetScreenSaver(display, 1, 0, DontPreferBlanking, AllowExposures);
        wake();
    }
    void TearDown() override {
        if (!display) return;
        XSetScreenSaver(display, oldTimeout, oldInterval, oldBlanking, oldExposures);
        wake();
    }

    void wake() {
        XForceScreenSaver(display, ScreenSaverReset);
        XSync(display, False);
    }

    bool saverOn() {
        XScreenSaverInfo* info = XScreenSaverAllocInfo();
        XScreenSaverQueryInfo(display, DefaultRootWindow(display), info);
        const bool on = info->state == ScreenSaverOn;
        XFree(info);
        return on;
    }

    Display* display = nullptr;
    int oldTimeout = 0, oldInterval = 0, oldBlanking = 0, oldExposures = 0;
};

TEST_F(ServerSaver, StartsWhenNothingHoldsIt) {
    X11ScreenSaverInhibitor inhibitor(display);
    EXPECT_TRUE(waitUntil([&] { return saverOn(); }, 5000));
}

TEST_F(ServerSaver, StaysOffWhileHeldAndStartsOnceReleased) {
    X11ScreenSaverInhibitor inhibitor(display);
    ASSERT_TRUE(inhibitor.canSuspend()) << "Xvfb has MIT-SCREEN-SAVER 1.1";
    inhibitor.inhibit("video");
    // Three times the saver's delay: it would long have started.
    pumpFor(3000);
    EXPECT_FALSE(saverOn());

    inhibitor.uninhibit();
    EXPECT_TRUE(waitUntil([&] { return saverOn(); }, 5000));
}

TEST_F(ServerSaver, DestroyedWhileHeldLetsTheSaverStart) {
    {
        X11ScreenSaverInhibitor inhibitor(display);
        inhibitor.inhibit("video");
        pumpFor(1500);
        EXPECT_FALSE(saverOn());
    }
    EXPECT_TRUE(waitUntil([&] { return saverOn(); }, 5000));
}

TEST(X11ScreenSaverInhibitor, WithoutADisplayDoesNothing) {
    X11ScreenSaverInhibitor inhibitor(nullptr);
    EXPECT_FALSE(inhibitor.canSuspend());
    inhibitor.inhibit("video");
    inhibitor.uninhibit();
    EXPECT_FALSE(inhibitor.inhibited());
}

}  // namespace
}  // namespace sorinel::desktop
