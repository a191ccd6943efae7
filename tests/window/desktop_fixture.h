// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tests of the window on a desktop with a window manager: openbox runs on the
// test's own display for the whole binary, and is started again should it
// have exited between tests.

#include <gtest/gtest.h>

#include <memory>

#include "desktop.h"

namespace sorinel::testing {

class WindowManagerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!windowManager) {
            windowManager = std::make_unique<BackgroundProgram>("openbox", QStringList{});
            pumpFor(800);
        }
    }
    void SetUp() override { ASSERT_TRUE(windowManager->restartIfGone()) << "openbox is needed here"; }

    static inline std::unique_ptr<BackgroundProgram> windowManager;
};

}  // namespace sorinel::testing
