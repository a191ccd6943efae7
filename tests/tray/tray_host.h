// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A real tray host (trayer) on the test's own X server for the tests of one
// binary, and clicks on a tray icon through xdotool.

#include <gtest/gtest.h>

#include <QSystemTrayIcon>

#include "desktop.h"

namespace sorinel::tray::testing {

class TrayHost : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        host = new sorinel::testing::BackgroundProgram(
            "trayer",
            {"--edge", "top", "--align", "left", "--widthtype", "request", "--height", "24", "--SetDockType", "true"});
        sorinel::testing::waitUntil([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 10000);
    }
    static void TearDownTestSuite() {
        delete host;
        host = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(host->running()) << "trayer did not start";
        ASSERT_TRUE(QSystemTrayIcon::isSystemTrayAvailable());
    }

    // Clicks the middle of the icon once the host has embedded and mapped it.
    static void click(const QSystemTrayIcon& icon, int button) {
        ASSERT_TRUE(sorinel::testing::waitUntil([&] { return icon.geometry().width() > 0; }, 5000))
            << "icon never embedded";
        sorinel::testing::pumpFor(300);  // mapped a moment after it is embedded
        const QPoint centre = icon.geometry().center();
        sorinel::testing::run("xdotool", {"mousemove", QString::number(centre.x()), QString::number(centre.y()),
                                          "click", QString::number(button)});
    }

    static inline sorinel::testing::BackgroundProgram* host = nullptr;
};

}  // namespace sorinel::tray::testing
