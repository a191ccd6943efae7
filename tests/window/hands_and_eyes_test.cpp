// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The window as a person uses it under a window manager, driven with xdotool
// and read back on the screen where a picture is the point.
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

#include "desktop.h"
#include "desktop_fixture.h"
#include "form_fixture.h"
#include "platform/player/transport_bar.h"

namespace {

using sorinel::testing::pumpFor;
using sorinel::testing::run;
using sorinel::testing::waitUntil;

const QString kLongName = "c so long a name that the list can never show it whole.mp3";

class HandsAndEyes : public sorinel::testing::WindowManagerTest {
protected:
    void SetUp() override {
        WindowManagerTest::SetUp();
        const QString media = sorinel::testing::mediaDir() + "/clip.";
        for (const auto& [from, to] :
             {std::pair<QString, QString>{"mpg", "a.mpg"}, {"mov", "b.mov"}, {"mp3", kLongName}})
            ASSERT_TRUE(QFile::copy(media + from, folder.filePath(to)));
        f.File1->setPath(folder.path());
        t.start();
        f.Timer1->setEnabled(false);  // nothing moves on by itself while the test looks
        f.Timer2->setEnabled(false);
        f.activateWindow();
        ASSERT_TRUE(waitUntil([&] { return f.isActiveWindow(); }, 3000));
        bar = f.MediaPlayer1->findChild<sorinel::platform::TransportBar*>();
    }
    void TearDown() override { f.MediaPlayer1->stop(); }

    void key(const char* name) {
        run("xdotool", {"key", "--clearmodifiers", name});
        pumpFor(150);
    }
    void mouse(QWidget* w, QPoint at, const QStringList& then = {"click", "1"}) {
        const QPoint g = w->mapToGlobal(at);
        run("xdotool", {"mousemove", "--sync", QString::number(g.x()), QString::number(g.y())});
        pumpFor(100);
        if (!then.isEmpty()) run("xdotool", then);
        pumpFor(150);
    }
    void onEntry(int row, const QStringList& then = {"click", "1"}) {  // near the start: long names widen every row
        const QRect r = f.File1->visualItemRect(f.File1->item(row));
        mouse(f.File1->viewport(), {r.left() + 12, r.center().y()}, then);
    }
    int state() const { return f.MediaPlayer1->playState(); }
    bool plays(const QString& name) {
        return waitUntil([&] { return QFileInfo(f.MediaPlayer1->url()).fileName() == name && state() == 3; }, 10000);
    }
    bool reaches(int wanted) {
        return waitUntil([&] { return state() == wanted; }, 3000);
    }
    // The widget's area as the screen shows it.
    QImage onScreen(QWidget* w) {
        sorinel::testing::screenshot(folder.filePath("shot.png"));
        return QImage(folder.filePath("shot.png")).copy(QRect(w->mapToGlobal(QPoint()), w->size()));
    }
    QWidget* barControl(const char* name) {
        for (QWidget* w : bar->findChildren<QWidget*>())
            if (w->accessibleName() == QString::fromUtf8(name)) return w;
        return nullptr;
    }

    QTemporaryDir folder;
    sorinel::testing::FormUnderTest t;
    sorinel::window::Form1& f = *t.form;
    sorinel::platform::TransportBar* bar = nullptr;
};

TEST_F(HandsAndEyes, TheKeyboard) {
    f.Command1->setFocus();
    key("shift+Tab");  // into the list, whose first entry then has the keyboard's focus
    key("Down");
    ASSERT_TRUE(plays("a.mpg")) << "the first arrow passed over the first entry";
    key("space");
    EXPECT_TRUE(reaches(2)) << "Space on the list did not pause";
    f.loop_chk->setFocus();
    key("space");  // a check box keeps its own key
    EXPECT_EQ(f.loop_chk->Value(), 1);
    f.MediaPlayer1->setFocus();
    key("space");
    EXPECT_TRUE(reaches(3)) << "Space on the player did not resume";
    f.StartTime_txt->setFocus();
    f.StartTime_txt->setText("1");
    key("space");
    EXPECT_EQ(f.StartTime_txt->text(), "1 ");
    EXPECT_EQ(state(), 3) << "Space in a seconds box does more than type";

    f.File1->setFocus();
    mouse(f.MediaPlayer1, QPoint(f.MediaPlayer1->width() / 2, f.MediaPlayer1->height() / 3));
    ASSERT_TRUE(reaches(2));
    EXPECT_EQ(QGuiApplication::focusWindow(), f.windowHandle()) << "the video took the keyboard";
    key("space");
    EXPECT_TRUE(reaches(3));

    // Tab: the window's own order, then the transport bar, then round again.
    f.listloop_chk->setFocus();
    for (const char* name : {"一時停止", "停止", "再生位置", "ミュート", "音量"}) {
        key("Tab");
        EXPECT_EQ(QApplication::focusWidget(), barControl(name)) << name;
    }
    key("Tab");
    EXPECT_EQ(QApplication::focusWidget(), f.File1);
    key("shift+Tab");
    key("Left");
    EXPECT_EQ(f.MediaPlayer1->volume(), 95);
    mouse(barControl("音量"), {10, 10}, {"click", "5"});  // the wheel, down
    EXPECT_TRUE(waitUntil([&] { return f.MediaPlayer1->volume() < 95; }, 2000));
    barControl("停止")->setFocus();
    key("Return");
    ASSERT_TRUE(reaches(1)) << "Enter did not press 停止";
    barControl("再生")->setFocus();
    key("space");
    EXPECT_TRUE(plays("a.mpg")) << "Space did not press 再生";
}

TEST_F(HandsAndEyes, EnterDoubleClickAndAClickOnTheSelectedEntryPlayIt) {
    onEntry(0);
    ASSERT_TRUE(plays("a.mpg"));
    f.MediaPlayer1->stopByUser();
    f.sequence().nextfl = 0;
    onEntry(0);
    ASSERT_TRUE(plays("a.mpg")) << "a click on the selected entry after a stop played nothing";
    EXPECT_EQ(f.sequence().nextfl, 1) << "the advance was not armed";
    f.MediaPlayer1->stopByUser();
    key("Return");
    EXPECT_TRUE(plays("a.mpg")) << "Enter did not play the selected entry";
    f.MediaPlayer1->pause();  // a click on the paused entry leaves it paused, a double click plays it
    onEntry(0);
    EXPECT_FALSE(reaches(3));
    onEntry(0, {"click", "--repeat", "2", "--delay", "80", "1"});
    EXPECT_TRUE(reaches(3)) << "a double click did not play the entry";

    // With フルスクリーン ticked, a click on the playing entry brings back the
    // full screen that a person left.
    f.full_chk->setValue(1);
    onEntry(0);
    EXPECT_TRUE(waitUntil([&] { return f.isFullScreen(); }, 3000));
    key("Escape");
    ASSERT_TRUE(waitUntil([&] { return !f.isFullScreen(); }, 3000));
}

TEST_F(HandsAndEyes, WhatThePersonSees) {
    // Under the mouse a transport button's glyph stays light on a dark ground.
    QWidget* stop = barControl("停止");
    mouse(stop, stop->rect().center(), {});
    pumpFor(400);
    const QImage shot = onScreen(stop);
    int light = 0, dark = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            light += qGray(shot.pixel(x, y)) > 200;
            dark += qGray(shot.pixel(x, y)) < 110;
        }
    EXPECT_GT(light, shot.width() * shot.height() / 20) << "no glyph under the mouse";
    EXPECT_GT(dark, shot.width() * shot.height() / 2) << "the ground under the glyph is light";

    // The whole name over an entry the list cuts, none over one shown whole.
    onEntry(2, {});
    EXPECT_TRUE(waitUntil([] { return QToolTip::isVisible() && QToolTip::text() == kLongName; }, 4000));
    onEntry(0, {});
    pumpFor(1500);
    EXPECT_FALSE(QToolTip::isVisible() && QToolTip::text() == "a.mpg");

    // Paused in full screen, the bar reads where the picture is on the way back.
    f.full_chk->setValue(1);
    f.File1->setSelected(1, true);
    ASSERT_TRUE(waitUntil([&] { return f.isFullScreen() && state() == 3; }, 10000));
    pumpFor(1800);
    mouse(f.MediaPlayer1, f.MediaPlayer1->rect().center());
    ASSERT_TRUE(reaches(2));
    key("Escape");
    ASSERT_TRUE(waitUntil([&] { return bar->isVisible(); }, 3000));
    const QString at = sorinel::platform::formatPlayTime(f.MediaPlayer1->currentPosition());
    EXPECT_NE(at, "0:00");
    EXPECT_TRUE(bar->timeLabel().shownText().startsWith(at + " ")) << bar->timeLabel().shownText().toStdString();
}

// The smallest window keeps ▶/■ and the time, whole, apart and in sight.
TEST_F(HandsAndEyes, TheSmallestWindowKeepsAUsableBar) {
    for (const QSize size : {QSize(100, 100), QSize(640, 480)}) {
        f.resize(size);
        const bool smallest = size.width() < 200;
        ASSERT_TRUE(waitUntil([&] { return bar->compact() == smallest; }, 3000));
        pumpFor(300);
        QRegion taken;  // the shown controls, each inside the bar and none over another
        int shown = 0;
        for (QWidget* w : bar->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (w->isVisible() && ++shown) {
                EXPECT_TRUE(bar->rect().contains(w->geometry()) && !taken.intersects(w->geometry()));
                taken += w->geometry();
            }
        EXPECT_EQ(shown, smallest ? 3 : 6);
        EXPECT_FALSE(bar->timeLabel().shownText().isEmpty());
        // Nothing lies over the bar: the screen shows what the bar draws.
        const QImage drawn = bar->grab().toImage(), seen = onScreen(bar);
        int differ = 0;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                differ += (drawn.pixel(x, y) & 0xffffff) != (seen.pixel(x, y) & 0xffffff);
        EXPECT_LT(differ, drawn.width() * drawn.height() / 20) << size.width();
    }
}

}  // namespace
