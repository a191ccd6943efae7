// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Closing the window ends the program; on its own binary because ending the
// program ends every event loop of the process.
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "desktop.h"
#include "form_fixture.h"

TEST(Form1Unload, CloseWindsDownOnceAndEndsTheProgram) {
    sorinel::testing::FormUnderTest t;
    sorinel::window::Form1& f = *t.form;
    t.start();
    int nestedCloses = 0;
    bool visibleAfterNestedClose = false;
    // A second close while the first one waits is ignored: the window stays
    // up and the wind-down is not run twice.
    QTimer::singleShot(500, [&] {
        ++nestedCloses;
        f.close();
        visibleAfterNestedClose = f.isVisible();
    });
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(f.close());
    const qint64 took = clock.elapsed();
    EXPECT_EQ(nestedCloses, 1);
    EXPECT_TRUE(visibleAfterNestedClose);
    EXPECT_LT(took, 3500);
    EXPECT_TRUE(f.ended());
    EXPECT_FALSE(f.Timer1->Enabled());
    EXPECT_FALSE(f.Timer2->Enabled());
    EXPECT_GE(took, 1400);  // the wait while events are still handled
    EXPECT_FALSE(f.isVisible());
}
