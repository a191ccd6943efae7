// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The repeat / random exclusion through real check boxes, re-seeding, and the
// seconds-box click.
#include <QTest>
#include <gtest/gtest.h>

#include "window/controls/check_box.h"
#include "window/controls/text_box.h"
#include "window/option_handlers.h"

using namespace sorinel::window;

namespace {

class CountingRandom : public sorinel::playback::RandomSource {
public:
    float next() override { return 0.5f; }
    void reseedFromClock() override { ++reseeds; }
    int reseeds = 0;
};

// The two boxes wired to their handlers the way the window wires them.
struct OrderBoxes {
    CheckBox loop{QString::fromUtf8("ﾙｰﾌﾟ")};
    CheckBox random{QString::fromUtf8("ﾗﾝﾀﾞﾑ")};
    std::int16_t loopfl = 0;
    std::int16_t randfl = 0;
    CountingRandom generator;
    OrderOptions options{loop, random, loopfl, randfl, generator};

    OrderBoxes() {
        QObject::connect(&loop, &CheckBox::Click, [this] { loop_chk_Click(options); });
        QObject::connect(&random, &CheckBox::Click, [this] { randam_chk_Click(options); });
    }
    // Puts the boxes in a state without running the handlers.
    void preset(int l, int r) {
        QSignalBlocker a(loop), b(random);
        loop.setValue(l);
        random.setValue(r);
        loopfl = static_cast<std::int16_t>(l);
        randfl = static_cast<std::int16_t>(r);
    }
};

enum class Box { Loop, Random };

struct ExclusionRow {
    int loopBefore, randomBefore;
    Box clicked;
    int loopAfter, randomAfter, loopfl, randfl, reseeds;
};

}  // namespace

TEST(OrderOptions, EveryUserClickOfTheExclusionTable) {
    const ExclusionRow rows[] = {
        {0, 0, Box::Loop, 1, 0, 1, 0, 0},   {0, 1, Box::Loop, 1, 0, 1, 0, 0},   {1, 0, Box::Loop, 0, 0, 0, 0, 0},
        {0, 0, Box::Random, 0, 1, 0, 1, 1}, {1, 0, Box::Random, 0, 1, 0, 1, 1}, {0, 1, Box::Random, 0, 0, 0, 0, 0},
    };
    for (const ExclusionRow& row : rows) {
        OrderBoxes boxes;
        boxes.preset(row.loopBefore, row.randomBefore);
        CheckBox& target = row.clicked == Box::Loop ? boxes.loop : boxes.random;
        target.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&target));
        QTest::mouseClick(&target, Qt::LeftButton, {}, QPoint(8, target.height() / 2));
        const auto where = ::testing::Message() << "(" << row.loopBefore << "," << row.randomBefore << ") click "
                                                << (row.clicked == Box::Loop ? "loop" : "random");
        EXPECT_EQ(boxes.loop.Value(), row.loopAfter) << where;
        EXPECT_EQ(boxes.random.Value(), row.randomAfter) << where;
        EXPECT_EQ(boxes.loopfl, row.loopfl) << where;
        EXPECT_EQ(boxes.randfl, row.randfl) << where;
        EXPECT_EQ(boxes.generator.reseeds, row.reseeds) << where;
    }
}

TEST(OrderOptions, UncheckingClearsOnlyItsOwnFlag) {
    OrderBoxes loopFirst;
    loopFirst.loop.setValue(1);
    loopFirst.randfl = 1;  // a flag that no box write will touch
    loopFirst.loop.setValue(0);
    EXPECT_EQ(loopFirst.loopfl, 0);
    EXPECT_EQ(loopFirst.randfl, 1);
    EXPECT_EQ(loopFirst.random.Value(), 0);

    OrderBoxes randomFirst;
    randomFirst.random.setValue(1);
    randomFirst.loopfl = 1;
    randomFirst.random.setValue(0);
    EXPECT_EQ(randomFirst.randfl, 0);
    EXPECT_EQ(randomFirst.loopfl, 1);
    EXPECT_EQ(randomFirst.loop.Value(), 0);
}

TEST(OrderOptions, RandomOnReseedsEveryTimeAndOnlyThen) {
    OrderBoxes boxes;
    const int expected[] = {1, 1, 2, 2, 3};
    const int writes[] = {1, 0, 1, 0, 1};
    for (int k = 0; k < 5; ++k) {
        boxes.random.setValue(writes[k]);
        EXPECT_EQ(boxes.generator.reseeds, expected[k]) << "write " << k;
    }
    boxes.random.setValue(1);  // unchanged: no Click, no re-seed
    boxes.loop.setValue(1);    // random off by the exclusion: no re-seed
    EXPECT_EQ(boxes.generator.reseeds, 3);
    EXPECT_EQ(boxes.random.Value(), 0);
}

namespace {

// The x coordinate in the box where a click puts the caret at `position`.
int xForCaret(TextBox& box, int position) {
    const int y = box.height() / 2;
    for (int x = 1; x < box.width() - 1; ++x)
        if (box.cursorPositionAt(QPoint(x, y)) == position) return x;
    return -1;
}

}  // namespace

TEST(SecondsBox, ClickSelectsFromTheClickToTheEnd) {
    struct Row {
        int caret;
        const char* selected;
    };
    const Row rows[] = {{0, "開始秒"}, {1, "始秒"}, {2, "秒"}, {3, ""}};
    for (const Row& row : rows) {
        TextBox box(QString::fromUtf8("開始秒"));
        QObject::connect(&box, &TextBox::Click, [&box] { selectToEnd(box); });
        box.resize(120, 26);
        box.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
        const int x = xForCaret(box, row.caret);
        ASSERT_GE(x, 0) << "caret " << row.caret;
        QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(x, box.height() / 2));
        EXPECT_EQ(box.selectedText(), QString::fromUtf8(row.selected)) << "caret " << row.caret;
        EXPECT_EQ(box.text(), QString::fromUtf8("開始秒"));
    }
}

TEST(SecondsBox, RightClickRaisesNoClick) {
    TextBox box(QString("12"));
    int clicks = 0;
    QObject::connect(&box, &TextBox::Click, [&] { ++clicks; });
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    QTest::mouseClick(&box, Qt::RightButton, {}, QPoint(3, box.height() / 2));
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(3, box.height() / 2));
    EXPECT_EQ(clicks, 1);
}
