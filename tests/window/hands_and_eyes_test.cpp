// The window as a person uses it with the keyboard and the mouse on a
// desktop with a window manager, driven from outside with xdotool and read
// back on the screen where a picture is the point: Space, Enter, the arrows,
// clicks and double clicks on the list, Tab through the transport bar, the
// buttons under the mouse, the bar after full screen, cut names, and the
// smallest window.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

#include "desktop.h"
#include "desktop_fixture.h"
#include "form_fixture.h"
#include "platform/transport_bar.h"
#include "platform/video_area.h"

namespace {

using sorinel::testing::pumpFor;
using sorinel::testing::run;
using sorinel::testing::waitUntil;
using sorinel::window::Form1;

const QString kLongName = "c so long a name that the list can never show it whole.mp3";

class HandsAndEyes : public sorinel::testing::WindowManagerTest {
protected:
    void SetUp() override {
        WindowManagerTest::SetUp();
        ASSERT_TRUE(folder.isValid());
        const QDir media(sorinel::testing::mediaDir());
        ASSERT_TRUE(QFile::copy(media.filePath("clip.mpg"), folder.filePath("a.mpg")));
        ASSERT_TRUE(QFile::copy(media.filePath("clip.mov"), folder.filePath("b.mov")));
        ASSERT_TRUE(QFile::copy(media.filePath("clip.mp3"), folder.filePath(kLongName)));
        f.File1->setPath(folder.path());
        t.start();
        // Nothing moves on by itself while the test looks.
        f.Timer1->setEnabled(false);
        f.Timer2->setEnabled(false);
        f.activateWindow();
        ASSERT_TRUE(waitUntil([&] { return f.isActiveWindow(); }, 3000));
        bar = f.MediaPlayer1->findChild<sorinel::platform::TransportBar*>();
        ASSERT_NE(bar, nullptr);
    }
    void TearDown() override {
        if (f.MediaPlayer1) f.MediaPlayer1->stop();
    }

    void key(const char* name) {
        run("xdotool", {"key", "--clearmodifiers", name});
        pumpFor(150);
    }
    void clickAt(QWidget* w, QPoint at, const QStringList& how = {"click", "1"}) {
        const QPoint g = w->mapToGlobal(at);
        run("xdotool", {"mousemove", "--sync", QString::number(g.x()), QString::number(g.y())});
        pumpFor(100);
        if (!how.isEmpty()) run("xdotool", how);
        pumpFor(150);
    }
    // Near the start of the row: a long name makes every row wider than the list.
    QPoint entry(int row) {
        const QRect r = f.File1->visualItemRect(f.File1->item(row));
        return {r.left() + 12, r.center().y()};
    }
    QString playing() const { return QFileInfo(f.MediaPlayer1->url()).fileName(); }
    int state() const { return f.MediaPlayer1->playState(); }
    bool plays(const QString& name) {
        return waitUntil([&] { return playing() == name && state() == 3; }, 10000);
    }
    QWidget* barControl(const char* accessibleName) {
        for (QWidget* w : bar->findChildren<QWidget*>())
            if (w->accessibleName() == QString::fromUtf8(accessibleName)) return w;
        return nullptr;
    }

    QTemporaryDir folder;
    sorinel::testing::FormUnderTest t;
    Form1& f = *t.form;
    sorinel::platform::TransportBar* bar = nullptr;
};

TEST_F(HandsAndEyes, TheKeyboardPlaysPausesAndReachesEveryControl) {
    // Into the list as a person comes to it, which gives entry 0 the
    // keyboard's focus; the first arrow selects it, not the entry after it.
    f.Command1->setFocus();
    key("shift+Tab");
    ASSERT_EQ(QApplication::focusWidget(), f.File1);
    key("Down");
    ASSERT_TRUE(plays("a.mpg"));
    EXPECT_EQ(f.File1->ListIndex(), 0);

    key("space");
    EXPECT_TRUE(waitUntil([&] { return state() == 2; }, 3000)) << "Space on the list did not pause";
    f.loop_chk->setFocus();
    key("space");  // a check box keeps its own key
    EXPECT_EQ(f.loop_chk->Value(), 1);
    EXPECT_EQ(state(), 2);
    f.MediaPlayer1->setFocus();
    key("space");
    EXPECT_TRUE(waitUntil([&] { return state() == 3; }, 3000)) << "Space on the player did not resume";
    f.StartTime_txt->setFocus();
    f.StartTime_txt->clear();
    key("1");
    key("space");
    EXPECT_EQ(f.StartTime_txt->text(), "1 ");
    EXPECT_EQ(state(), 3) << "Space in a seconds box does more than type";

    // A click on the video pauses, and the keyboard stays with the window.
    f.File1->setFocus();
    clickAt(f.MediaPlayer1, QPoint(f.MediaPlayer1->width() / 2, f.MediaPlayer1->height() / 3));
    ASSERT_TRUE(waitUntil([&] { return state() == 2; }, 3000));
    EXPECT_EQ(QGuiApplication::focusWindow(), f.windowHandle());
    key("space");
    EXPECT_TRUE(waitUntil([&] { return state() == 3; }, 3000)) << "the video kept the keyboard";

    // Tab: the design's order, then the transport bar, then round again.
    f.listloop_chk->setFocus();
    const char* after[] = {"一時停止", "停止", "再生位置", "ミュート", "音量"};
    for (const char* name : after) {
        key("Tab");
        EXPECT_EQ(QApplication::focusWidget(), barControl(name)) << name;
    }
    key("Tab");
    EXPECT_EQ(QApplication::focusWidget(), f.File1);

    // Pressed with Enter and Space, moved with the arrows and the wheel.
    auto* volume = static_cast<QSlider*>(barControl("音量"));
    volume->setFocus();
    key("Left");
    EXPECT_EQ(f.MediaPlayer1->volume(), 95);
    clickAt(volume, volume->rect().center(), {"click", "5"});  // wheel down
    EXPECT_TRUE(waitUntil([&] { return f.MediaPlayer1->volume() < 95; }, 2000)) << "the wheel left the volume";
    barControl("停止")->setFocus();
    key("Return");
    ASSERT_TRUE(waitUntil([&] { return state() == 1; }, 3000)) << "Enter did not press 停止";
    barControl("再生")->setFocus();
    key("space");
    EXPECT_TRUE(plays("a.mpg")) << "Space did not press 再生";
}

TEST_F(HandsAndEyes, EnterDoubleClickAndAClickOnTheSelectedEntryPlayIt) {
    clickAt(f.File1->viewport(), entry(0));
    ASSERT_TRUE(plays("a.mpg"));
    f.MediaPlayer1->stopByUser();
    ASSERT_EQ(state(), 1);
    // After a stop the highlighted entry plays again on a click, with the
    // advance armed as for any file the list starts.
    f.sequence().nextfl = 0;
    clickAt(f.File1->viewport(), entry(0));
    ASSERT_TRUE(plays("a.mpg")) << "a click on the selected entry after a stop played nothing";
    EXPECT_EQ(f.sequence().nextfl, 1);

    f.MediaPlayer1->stopByUser();
    f.File1->setFocus();
    key("Return");
    EXPECT_TRUE(plays("a.mpg")) << "Enter did not play the selected entry";
    key("Down");
    ASSERT_TRUE(plays("b.mov"));
    f.MediaPlayer1->stopByUser();
    clickAt(f.File1->viewport(), entry(0), {"click", "--repeat", "2", "--delay", "80", "1"});
    EXPECT_TRUE(plays("a.mpg")) << "a double click did not play the entry";
    EXPECT_EQ(f.sequence().i, 0);

    // With フルスクリーン ticked a click on the playing entry brings full
    // screen back after a person left it.
    f.full_chk->setValue(1);
    f.MediaPlayer1->setFullScreen(false);
    f.sequence().i = 0;
    ASSERT_TRUE(waitUntil([&] { return !f.isFullScreen(); }, 3000));
    pumpFor(300);
    clickAt(f.File1->viewport(), entry(0));
    EXPECT_TRUE(waitUntil([&] { return f.MediaPlayer1->fullScreen() && f.isFullScreen(); }, 3000));
    key("Escape");
    ASSERT_TRUE(waitUntil([&] { return !f.isFullScreen(); }, 3000));
}

// How many pixels of the picture are light (the glyph) and how many dark
// (the ground), in the button's area of a screenshot.
std::pair<int, int> lightAndDark(const QImage& shot, QRect area) {
    int light = 0, dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const int grey = qGray(shot.pixel(x, y));
            light += grey > 200;
            dark += grey < 110;
        }
    return {light, dark};
}

TEST_F(HandsAndEyes, WhatThePersonSees) {
    // A transport button under the mouse keeps its glyph in sight.
    auto* stop = barControl("停止");
    ASSERT_NE(stop, nullptr);
    clickAt(stop, stop->rect().center(), {});
    pumpFor(400);
    const QString shotPath = folder.filePath("hover.png");
    ASSERT_TRUE(sorinel::testing::screenshot(shotPath));
    const QImage shot(shotPath);
    const auto [light, dark] = lightAndDark(shot, QRect(stop->mapToGlobal(QPoint(0, 0)), stop->size()));
    const int area = stop->width() * stop->height();
    EXPECT_GT(light, area / 20) << "no glyph under the mouse";
    EXPECT_GT(dark, area / 2) << "the ground under the glyph turned light: " << light << " light, " << dark << " dark";

    // The whole name of an entry the list cuts short, and none for a name
    // that shows whole.
    f.resize(560, 420);
    pumpFor(500);
    clickAt(f.File1->viewport(), entry(2), {});
    EXPECT_TRUE(waitUntil([] { return QToolTip::isVisible() && QToolTip::text() == kLongName; }, 4000));
    clickAt(f.File1->viewport(), entry(0), {});
    pumpFor(1500);
    EXPECT_FALSE(QToolTip::isVisible() && QToolTip::text() == "a.mpg");

    // Paused while full screen, the bar shows where the picture is once
    // the window comes back.
    f.full_chk->setValue(1);
    f.File1->setSelected(1, true);
    ASSERT_TRUE(waitUntil([&] { return f.isFullScreen() && state() == 3; }, 10000));
    pumpFor(1800);
    clickAt(f.MediaPlayer1, f.MediaPlayer1->rect().center());
    ASSERT_TRUE(waitUntil([&] { return state() == 2; }, 3000));
    key("Escape");
    ASSERT_TRUE(waitUntil([&] { return !f.isFullScreen() && bar->isVisible(); }, 3000));
    pumpFor(300);
    const QString expected = sorinel::platform::formatPlayTime(f.MediaPlayer1->currentPosition());
    EXPECT_NE(expected, "0:00");
    EXPECT_TRUE(bar->timeLabel().shownText().startsWith(expected + " ")) << bar->timeLabel().shownText().toStdString();

    // The smallest window keeps ▶/■ and the time, each whole and apart;
    // a roomy one shows the whole bar.
    f.full_chk->setValue(0);
    for (const QSize size : {QSize(100, 100), QSize(640, 480)}) {
        f.resize(size);
        const bool small = size.width() < 200;
        ASSERT_TRUE(waitUntil([&] { return bar->compact() == small; }, 3000)) << size.width();
        pumpFor(300);
        QList<QWidget*> shown;
        for (QWidget* w : bar->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (w->isVisible()) shown.push_back(w);
        EXPECT_EQ(shown.size(), small ? 3 : 6);
        for (QWidget* w : shown) {
            EXPECT_TRUE(bar->rect().contains(w->geometry())) << size.width();
            for (QWidget* other : shown)
                if (other != w) EXPECT_FALSE(w->geometry().intersects(other->geometry())) << size.width();
        }
        EXPECT_FALSE(bar->timeLabel().shownText().isEmpty()) << size.width();
    }
}

}  // namespace
