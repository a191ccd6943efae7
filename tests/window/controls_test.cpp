// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Check box, text box, timer, image and dialog filter: the semantics the
// handlers rely on.
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "qt_printers.h"

#include "desktop.h"
#include "window/controls/check_box.h"
#include "window/controls/image_box.h"
#include "window/controls/interval_timer.h"
#include "window/controls/open_file_dialog.h"
#include "window/controls/text_box.h"

using namespace sorinel::window;

TEST(CheckBox, ClickOnEveryValueChangeBeforeTheWriteReturns) {
    CheckBox box("x");
    std::vector<int> seen;
    QObject::connect(&box, &CheckBox::Click, [&] { seen.push_back(box.Value()); });
    struct Row {
        int write;
        std::vector<int> after;
    };
    const Row rows[] = {{0, {}}, {1, {1}}, {1, {1}}, {0, {1, 0}}, {0, {1, 0}}};
    for (const Row& row : rows) {
        box.setValue(row.write);
        EXPECT_EQ(box.Value(), row.write);
        EXPECT_EQ(seen, row.after) << "after writing " << row.write;
    }
    EXPECT_THROW(box.setValue(2), std::invalid_argument);
    EXPECT_EQ(box.Value(), 0);
}

TEST(CheckBox, UserClickTogglesAndRaisesClick) {
    CheckBox box("x");
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    QSignalSpy clicks(&box, &CheckBox::Click);
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(8, box.height() / 2));
    EXPECT_EQ(box.Value(), 1);
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(8, box.height() / 2));
    EXPECT_EQ(box.Value(), 0);
    EXPECT_EQ(clicks.count(), 2);
}

TEST(TextBox, RefusesAFifthCharacterTypedOrPasted) {
    struct Row {
        const char* start;
        const char* typed;
        const char* pasted;
        const char* result;
    };
    const Row rows[] = {
        {"", "123", nullptr, "123"},    {"", "1234", nullptr, "1234"}, {"", "12345", nullptr, "1234"},
        {"", nullptr, "98765", "9876"}, {"", nullptr, "987", "987"},   {"12", nullptr, "345", "1234"},
    };
    for (const Row& row : rows) {
        TextBox box(QString::fromUtf8(row.start));
        box.show();
        box.setFocus();
        box.end(false);
        if (row.typed) QTest::keyClicks(&box, row.typed);
        if (row.pasted) {
            QApplication::clipboard()->setText(row.pasted);
            box.paste();
        }
        EXPECT_EQ(box.text(), QString(row.result)) << row.start << "|" << (row.typed ? row.typed : row.pasted);
    }
    TextBox tooLong(QString("123456"));
    EXPECT_EQ(tooLong.text(), QString("1234"));
}

TEST(TextBox, SelLengthSelectsFromSelectionStartUpToTheEnd) {
    struct Row {
        int caret;
        int length;
        const char* selected;
        int start;
    };
    const Row rows[] = {
        {0, 3, "開始秒", 0}, {0, 2, "開始", 0}, {1, 2, "始秒", 1}, {1, 5, "始秒", 1}, {3, 3, "", 3}, {2, 0, "", 2},
    };
    for (const Row& row : rows) {
        TextBox box(QString::fromUtf8("開始秒"));
        box.setCursorPosition(row.caret);
        box.setSelLength(row.length);
        EXPECT_EQ(box.selectedText(), QString::fromUtf8(row.selected)) << row.caret << "+" << row.length;
        EXPECT_EQ(box.selStart(), row.start);
    }
    TextBox box(QString("1234"));
    box.setSelection(1, 2);  // an existing selection keeps its start
    box.setSelLength(1);
    EXPECT_EQ(box.selectedText(), QString("2"));
}

TEST(IntervalTimer, TicksOnlyWhileEnabledWithAnIntervalAboveZero) {
    struct Row {
        std::int32_t interval;
        bool enabled;
        bool ticks;
    };
    const Row rows[] = {{0, true, false}, {0, false, false}, {30, false, false}, {30, true, true}, {1, true, true}};
    for (const Row& row : rows) {
        IntervalTimer timer(row.interval, row.enabled);
        QSignalSpy ticks(&timer, &IntervalTimer::Timer);
        sorinel::testing::pumpFor(150);
        EXPECT_EQ(ticks.count() > 0, row.ticks) << row.interval << " " << row.enabled;
        EXPECT_EQ(timer.ticking(), row.ticks);
    }
}

TEST(IntervalTimer, IntervalAboveZeroStartsAnEnabledTimerAndZeroStopsIt) {
    IntervalTimer timer(0, true);
    QSignalSpy ticks(&timer, &IntervalTimer::Timer);
    sorinel::testing::pumpFor(80);
    EXPECT_EQ(ticks.count(), 0);
    timer.setInterval(20);
    EXPECT_TRUE(sorinel::testing::waitUntil([&] { return ticks.count() > 0; }, 2000));
    timer.setInterval(0);
    ticks.clear();
    sorinel::testing::pumpFor(80);
    EXPECT_EQ(ticks.count(), 0);
    timer.setInterval(20);
    timer.setEnabled(false);
    sorinel::testing::pumpFor(80);
    EXPECT_EQ(ticks.count(), 0);
    EXPECT_THROW(timer.setInterval(-1), std::invalid_argument);
    EXPECT_EQ(timer.Interval(), 20);
}

TEST(IntervalTimer, RewritingTheSameIntervalKeepsTheCountdown) {
    IntervalTimer timer(300, true);
    QSignalSpy ticks(&timer, &IntervalTimer::Timer);
    QElapsedTimer clock;
    clock.start();
    // Rewritten far more often than it ticks: with a restart on every write it
    // would never tick at all.
    while (ticks.count() == 0 && clock.elapsed() < 3000) {
        timer.setInterval(300);
        sorinel::testing::pumpFor(20);
    }
    EXPECT_EQ(ticks.count(), 1);
}

TEST(IntervalTimer, BusyHandlerDoesNotGetAPileOfTicks) {
    IntervalTimer timer(10, true);
    int ticks = 0;
    QObject::connect(&timer, &IntervalTimer::Timer, [&] {
        if (++ticks == 1) QTest::qSleep(200);  // twenty intervals missed
    });
    sorinel::testing::waitUntil([&] { return ticks > 0; }, 2000);
    const int afterBusy = ticks;
    sorinel::testing::pumpFor(5);
    EXPECT_LE(ticks - afterBusy, 1);
}

TEST(OpenFileDialog, FilterTakesDescriptionAndPatternPairs) {
    struct Row {
        const char* filter;
        QStringList expected;
    };
    const Row rows[] = {
        {"メディアファイル|*.*", {QString::fromUtf8("メディアファイル (*)")}},
        {"Audio|*.mp3;*.wav|All|*.*", {"Audio (*.mp3 *.wav)", "All (*)"}},
        {"Lonely", {}},
        {"", {}},
    };
    for (const Row& row : rows) EXPECT_EQ(nameFiltersFrom(QString::fromUtf8(row.filter)), row.expected) << row.filter;
}

TEST(ImageBox, HoldsPictureAndStretchesIt) {
    ImageBox image;
    image.setPictureFile(QString(SORINEL_SOURCE_DIR) + "/resources/title.gif");
    EXPECT_FALSE(image.picture().isNull());
    EXPECT_TRUE(image.hasScaledContents());
    ImageBox broken;
    broken.setPictureFile("/no/such/picture.gif");
    EXPECT_TRUE(broken.picture().isNull());
}
