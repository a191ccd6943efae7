// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as created, and its events and handlers on the real
// controls.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QSystemTrayIcon>
#include <QTest>
#include <gtest/gtest.h>

#include "qt_printers.h"

#include "desktop.h"
#include "dialog_driver.h"
#include "form_fixture.h"
#include "platform/shell/picture_handles.h"
#include "window/layout.h"

using sorinel::testing::FormUnderTest;
using sorinel::window::CheckBox;
using sorinel::window::Form1;
using sorinel::window::TextBox;

namespace {

struct Twips {
    int left, top, width, height;
    bool operator==(const Twips&) const = default;
};

Twips twipsOf(const QRect& r) { return {r.x() * 15, r.y() * 15, r.width() * 15, r.height() * 15}; }

std::ostream& operator<<(std::ostream& os, const Twips& t) {
    return os << t.left << "," << t.top << " " << t.width << "x" << t.height;
}

void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
}

}  // namespace

TEST(Form1Creation, ControlsTextsValuesAndGeometry) {
    FormUnderTest t;
    Form1& f = *t.form;
    EXPECT_EQ(f.windowTitle(), QString::fromUtf8("Sorinel！　Ver10.03"));
    EXPECT_EQ(f.size(), QSize(418, 334));  // 6270 x 5010 twips

    struct Row {
        QWidget* control;
        const char* name;
        const char* text;
        Twips geometry;
    };
    const Row rows[] = {
        {f.listloop_chk, "listloop_chk", "リストループ", {4440, 4080, 1455, 255}},
        {f.full_chk, "full_chk", "フルスクリーン", {4440, 3840, 1455, 255}},
        {f.EndTime_txt, "EndTime_txt", "終了秒", {5280, 4680, 855, 270}},
        {f.StartTime_txt, "StartTime_txt", "開始秒", {4440, 4680, 855, 270}},
        {f.randam_chk, "randam_chk", "ﾗﾝﾀﾞﾑ", {5280, 3600, 975, 255}},
        {f.loop_chk, "loop_chk", "ﾙｰﾌﾟ", {4440, 3600, 735, 255}},
        {f.File1, "File1", "", {4440, 0, 1695, 2790}},
        {f.Command1, "Command1", "フォルダ設定", {4440, 3120, 1695, 420}},
        {f.Img_taskbar, "Img_taskbar", "", {2400, 1680, 720, 720}},
        {f.Image1, "Image1", "", {0, 0, 4380, 3780}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.control->objectName(), QString(row.name));
        // Rounded to whole pixels: a length that is not a multiple of 15
        // comes back as the nearest one.
        const Twips got = twipsOf(row.control->geometry());
        EXPECT_NEAR(got.left, row.geometry.left, 7) << row.name;
        EXPECT_NEAR(got.top, row.geometry.top, 7) << row.name;
        EXPECT_NEAR(got.width, row.geometry.width, 7) << row.name;
        EXPECT_NEAR(got.height, row.geometry.height, 7) << row.name;
        QString text;
        if (auto* b = qobject_cast<QAbstractButton*>(row.control)) text = b->text();
        if (auto* e = qobject_cast<QLineEdit*>(row.control)) text = e->text();
        EXPECT_EQ(text, QString::fromUtf8(row.text)) << row.name;
    }
    EXPECT_EQ(twipsOf(f.MediaPlayer1->placement()), (Twips{0, 0, 4440, 4275}));

    EXPECT_EQ(f.listloop_chk->Value(), 1);
    EXPECT_EQ(f.full_chk->Value(), 0);
    EXPECT_EQ(f.loop_chk->Value(), 0);
    EXPECT_EQ(f.randam_chk->Value(), 0);
    EXPECT_EQ(f.StartTime_txt->maxLength(), 4);
    EXPECT_EQ(f.EndTime_txt->maxLength(), 4);
    EXPECT_EQ(f.File1->ListIndex(), -1);
    EXPECT_EQ(f.File1->Path(), QDir::current().absolutePath());
    EXPECT_TRUE(f.Img_taskbar->isHidden());
    EXPECT_FALSE(f.Img_taskbar->picture().isNull());
    EXPECT_FALSE(f.windowIcon().isNull());
    EXPECT_FALSE(f.Image1->picture().isNull());
    EXPECT_FALSE(f.Image1->isHidden());
    EXPECT_EQ(f.CommonDialog1->DialogTitle(), QString::fromUtf8("メディアファイル"));
    // Image1 was created after the player and lies over it.
    const auto children = f.children();
    EXPECT_GT(children.indexOf(f.Image1), children.indexOf(f.MediaPlayer1));
}

TEST(Form1Creation, TimersAndPlayerSettings) {
    FormUnderTest t;
    Form1& f = *t.form;
    EXPECT_TRUE(f.Timer2->Enabled());
    EXPECT_EQ(f.Timer2->Interval(), 0);
    EXPECT_FALSE(f.Timer2->ticking());
    EXPECT_TRUE(f.Timer1->Enabled());
    EXPECT_EQ(f.Timer1->Interval(), 2000);
    EXPECT_TRUE(f.Timer1->ticking());

    EXPECT_EQ(f.MediaPlayer1->url(), QString());
    EXPECT_EQ(f.MediaPlayer1->uiMode(), QString("full"));
    EXPECT_TRUE(f.MediaPlayer1->autoStart());
    EXPECT_EQ(f.MediaPlayer1->volume(), 100);
    EXPECT_FALSE(f.MediaPlayer1->mute());
    EXPECT_DOUBLE_EQ(f.MediaPlayer1->rate(), 1.0);
    EXPECT_EQ(f.MediaPlayer1->balance(), 0);
    EXPECT_TRUE(f.MediaPlayer1->stretchToFit());
    EXPECT_TRUE(f.MediaPlayer1->enableContextMenu());
    EXPECT_FALSE(f.MediaPlayer1->fullScreen());
    EXPECT_TRUE(f.MediaPlayer1->isEnabled());
}

TEST(Form1Creation, ColoursAndFonts) {
    FormUnderTest t;
    Form1& f = *t.form;
    EXPECT_EQ(f.palette().color(QPalette::Window), QColor(Qt::black));
    for (QWidget* box : {static_cast<QWidget*>(f.listloop_chk), static_cast<QWidget*>(f.full_chk),
                         static_cast<QWidget*>(f.loop_chk), static_cast<QWidget*>(f.randam_chk)}) {
        EXPECT_EQ(box->palette().color(box->backgroundRole()), QColor(Qt::black)) << box->objectName().toStdString();
        EXPECT_EQ(box->palette().color(box->foregroundRole()), QColor(Qt::white));
        EXPECT_TRUE(box->autoFillBackground());
    }
    EXPECT_EQ(f.File1->palette().color(QPalette::Base), QColor(Qt::black));
    EXPECT_EQ(f.File1->palette().color(QPalette::Text), QColor(Qt::white));
    EXPECT_EQ(f.Command1->palette().color(QPalette::Button), QColor(Qt::white));
    EXPECT_EQ(f.StartTime_txt->palette().color(QPalette::Base), QColor(192, 192, 255));
    EXPECT_EQ(f.EndTime_txt->palette().color(QPalette::Base), QColor(255, 192, 192));
    for (const QFont& font : {f.StartTime_txt->font(), f.EndTime_txt->font()}) {
        EXPECT_EQ(font.families().value(0), QString::fromUtf8("ＭＳ Ｐゴシック"));
        EXPECT_DOUBLE_EQ(font.pointSizeF(), 11.25);
        EXPECT_EQ(font.weight(), QFont::Normal);
        EXPECT_FALSE(font.italic() || font.underline() || font.strikeOut());
        // What is really drawn: an installed Japanese gothic.
        EXPECT_TRUE(QFontInfo(font).family().contains("IPA")) << QFontInfo(font).family().toStdString();
    }
}

TEST(Form1Creation, TabOrderAndFirstFocus) {
    FormUnderTest t;
    Form1& f = *t.form;
    t.start();
    EXPECT_EQ(f.focusWidget(), f.File1);  // focus goes here when the window gets the keyboard
    const QWidget* expected[] = {f.File1,       f.Command1, f.loop_chk,     f.randam_chk,  f.StartTime_txt,
                                 f.EndTime_txt, f.full_chk, f.MediaPlayer1, f.listloop_chk};
    // Walk the focus chain, skipping the player's inner widgets.
    std::vector<const QWidget*> chain;
    QWidget* w = f.File1;
    for (int k = 0; k < 200 && chain.size() < std::size(expected); ++k, w = w->nextInFocusChain()) {
        for (const QWidget* e : expected)
            if (w == e && std::find(chain.begin(), chain.end(), w) == chain.end()) chain.push_back(w);
    }
    EXPECT_EQ(chain, std::vector<const QWidget*>(std::begin(expected), std::end(expected)));
    EXPECT_EQ(f.Image1->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(f.Img_taskbar->focusPolicy(), Qt::NoFocus);
}

TEST(Form1Events, FirstShowLaysOutAndAppliesSettings) {
    QTemporaryDir dir;
    touch(dir.filePath("a.wav"));
    touch(dir.filePath("b.au"));
    FormUnderTest t;
    Form1& f = *t.form;
    f.File1->setPath(dir.path());
    EXPECT_EQ(f.File1->ListCount(), 0);  // the creation pattern knows neither
    t.start();
    EXPECT_EQ(f.File1->Pattern(), QString(sorinel::window::kMediaPattern));
    EXPECT_EQ(f.File1->ListCount(), 2);
    EXPECT_EQ(f.CommonDialog1->Filter(), QString::fromUtf8("メディアファイル|*.*"));
    // The right column starts at 3W/4 + 10 with W the outer width less 100.
    const double W = f.frameGeometry().width() * 15.0 - 100.0;
    EXPECT_NEAR(f.File1->x() * 15.0, W / 4 * 3 + 10, 7.5);
    EXPECT_NEAR(f.File1->width() * 15.0, W / 4, 7.5);
    EXPECT_EQ(f.randam_chk->x(), f.loop_chk->x() + f.loop_chk->width());
    EXPECT_EQ(f.Command1->y(), f.File1->y() + f.File1->height());
}

TEST(Form1Events, ResizeFollowsAndKeepsTheMinimum) {
    FormUnderTest t;
    Form1& f = *t.form;
    t.start();
    f.resize(640, 480);
    sorinel::testing::waitUntil([&] { return f.File1->x() > 400; }, 3000);
    EXPECT_NEAR(f.File1->x() * 15.0, (640 * 15.0 - 100) / 4 * 3 + 10, 7.5);
    f.resize(100, 100);
    // The window was wider than the minimum before, so wait for the new
    // width itself: on a loaded machine the resize arrives late.
    sorinel::testing::waitUntil([&] { return f.frameGeometry().width() < 640; }, 3000);
    EXPECT_TRUE(sorinel::testing::waitUntil([&] { return f.width() >= 133 && f.height() >= 133; }, 3000));
    EXPECT_EQ(f.frameGeometry().width(), 133);  // 2000 twips, rounded to pixels
}

TEST(Form1Events, ActivateOnEveryShowButNotOnSwitchingBack) {
    FormUnderTest t;
    Form1& f = *t.form;
    // Activation keeps i and takes the order flags from the boxes (here
    // unchecked): a flag set behind the boxes' back shows when it ran.
    f.sequence().i = 5;
    f.sequence().loopfl = 1;
    t.start();
    EXPECT_EQ(f.sequence().i, 5);
    EXPECT_EQ(f.sequence().loopfl, 0);

    f.sequence().loopfl = 1;
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    sorinel::testing::pumpFor(200);
    f.activateWindow();
    f.raise();
    sorinel::testing::pumpFor(300);
    EXPECT_EQ(f.sequence().loopfl, 1);  // switching back is not an activation

    f.hide();
    sorinel::testing::pumpFor(100);
    f.trayAccess().showWindow();
    sorinel::testing::pumpFor(300);
    EXPECT_EQ(f.sequence().loopfl, 0);
    EXPECT_EQ(f.sequence().i, 5);
}

TEST(Form1Options, ExclusionTableThroughTheWindowsBoxes) {
    struct Row {
        int loopBefore, randomBefore;
        bool clickLoop;
        int loopAfter, randomAfter, loopfl, randfl, reseeds;
    };
    const Row rows[] = {
        {0, 0, true, 1, 0, 1, 0, 0},  {0, 1, true, 1, 0, 1, 0, 1},  {1, 0, true, 0, 0, 0, 0, 0},
        {0, 0, false, 0, 1, 0, 1, 1}, {1, 0, false, 0, 1, 0, 1, 1}, {0, 1, false, 0, 0, 0, 0, 1},
    };
    FormUnderTest t;
    Form1& f = *t.form;
    t.start();
    for (const Row& row : rows) {
        // Reach the starting state through the boxes themselves.
        f.loop_chk->setValue(0);
        f.randam_chk->setValue(0);
        if (row.loopBefore) f.loop_chk->setValue(1);
        if (row.randomBefore) f.randam_chk->setValue(1);
        t.random.reseeds = 0;
        if (row.randomBefore) t.random.reseeds = 1;  // the set-up's own switch-on
        CheckBox* target = row.clickLoop ? f.loop_chk : f.randam_chk;
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(6, target->height() / 2));
        const auto where = ::testing::Message()
                           << row.loopBefore << row.randomBefore << (row.clickLoop ? " loop" : " random");
        EXPECT_EQ(f.loop_chk->Value(), row.loopAfter) << where;
        EXPECT_EQ(f.randam_chk->Value(), row.randomAfter) << where;
        EXPECT_EQ(f.sequence().loopfl, row.loopfl) << where;
        EXPECT_EQ(f.sequence().randfl, row.randfl) << where;
        EXPECT_EQ(t.random.reseeds, row.reseeds) << where;
    }
}

TEST(Form1Options, SecondsBoxClickSelectsToTheEnd) {
    FormUnderTest t;
    Form1& f = *t.form;
    t.start();
    TextBox& box = *f.StartTime_txt;
    const int y = box.height() / 2;
    struct Row {
        int caret;
        const char* selected;
    };
    for (const Row& row : {Row{0, "開始秒"}, Row{1, "始秒"}, Row{3, ""}}) {
        int x = -1;
        for (int k = 1; k < box.width() - 1 && x < 0; ++k)
            if (box.cursorPositionAt(QPoint(k, y)) == row.caret) x = k;
        ASSERT_GE(x, 0);
        QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(x, y));
        EXPECT_EQ(box.selectedText(), QString::fromUtf8(row.selected)) << row.caret;
    }
}

TEST(Form1Folder, ButtonDialogAndListEndToEnd) {
    QTemporaryDir root;
    const QString folder = root.filePath(QString::fromUtf8("動画 フォルダ (2)"));
    QDir().mkpath(folder);
    touch(folder + QString::fromUtf8("/曲.mp3"));
    touch(folder + "/b.wav");
    FormUnderTest t;
    Form1& f = *t.form;
    t.start();
    f.sequence().i = 3;
    const QString before = f.File1->Path();

    sorinel::testing::driveNextFileDialog(QString());  // cancel
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    EXPECT_TRUE(sorinel::testing::lastDialogWasDriven());
    EXPECT_EQ(f.File1->Path(), before);

    sorinel::testing::driveNextFileDialog(folder + "/b.wav");
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    ASSERT_TRUE(sorinel::testing::lastDialogWasDriven());
    EXPECT_EQ(f.File1->Path(), folder);
    EXPECT_EQ(f.File1->ListCount(), 2);
    EXPECT_EQ(f.File1->entry(0), QString("b.wav"));
    EXPECT_EQ(f.sequence().i, 3);  // the play-list index is untouched
    EXPECT_EQ(f.sequence().loopfl, 0);
    EXPECT_EQ(f.sequence().randfl, 0);
}

TEST(Form1Folder, FileInTheRootFolderGivesTheRoot) {
    QString rootFile;
    for (const QString& name : QDir("/").entryList(QDir::Files | QDir::Hidden))
        if (QFileInfo("/" + name).isReadable()) rootFile = "/" + name;
    if (rootFile.isEmpty()) GTEST_SKIP() << "no file in / to point at";
    FormUnderTest t;
    Form1& f = *t.form;
    t.start();
    sorinel::testing::driveNextFileDialog(rootFile);
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    ASSERT_TRUE(sorinel::testing::lastDialogWasDriven());
    EXPECT_EQ(f.File1->Path(), QString("/"));
}

TEST(Form1Player, TitlePictureStepsAsideForMedia) {
    FormUnderTest t;
    Form1& f = *t.form;
    f.File1->setPath(sorinel::testing::mediaDir());
    t.start();
    ASSERT_GT(f.File1->ListCount(), 0);
    EXPECT_TRUE(f.Image1->isVisible());
    std::int16_t clip = -1;
    for (std::int16_t k = 0; k < f.File1->ListCount(); ++k)
        if (f.File1->entry(k).endsWith(".avi")) clip = k;
    ASSERT_GE(clip, 0);
    f.File1->setSelected(clip, true);  // Click plays it
    EXPECT_EQ(f.MediaPlayer1->url(), QDir(sorinel::testing::mediaDir()).filePath(f.File1->entry(clip)));
    EXPECT_FALSE(f.Image1->isVisible());
    EXPECT_TRUE(sorinel::testing::waitUntil([&] { return f.MediaPlayer1->playState() == 3; }, 10000));
    f.Timer1->setEnabled(false);
    f.Timer2->setEnabled(false);
    f.MediaPlayer1->stop();
}

// While フルスクリーン is checked every playing report asks for full screen
// again, and the double-click's second click resumes what its first paused:
// the double-click must still leave full screen for good.
TEST(Form1Player, ADoubleClickOnTheVideoLeavesFullScreen) {
    sorinel::testing::BackgroundProgram windowManager("openbox", {});
    sorinel::testing::pumpFor(800);
    ASSERT_TRUE(windowManager.running());
    FormUnderTest t;
    Form1& f = *t.form;
    f.File1->setPath(sorinel::testing::mediaDir());
    t.start();
    f.Timer1->setEnabled(false);
    f.Timer2->setEnabled(false);  // no advance to the next file meanwhile
    f.full_chk->setValue(1);
    std::int16_t clip = -1;
    for (std::int16_t k = 0; k < f.File1->ListCount(); ++k)
        if (f.File1->entry(k).endsWith(".mov")) clip = k;
    ASSERT_GE(clip, 0);
    f.File1->setSelected(clip, true);
    ASSERT_TRUE(sorinel::testing::waitUntil([&] { return f.MediaPlayer1->fullScreen() && f.isFullScreen(); }, 10000));
    sorinel::testing::pumpFor(300);

    const QPoint at = f.MediaPlayer1->mapToGlobal(f.MediaPlayer1->rect().center());
    sorinel::testing::run("xdotool", {"mousemove", QString::number(at.x()), QString::number(at.y()), "click",
                                      "--repeat", "2", "--delay", "80", "1"});
    ASSERT_TRUE(sorinel::testing::waitUntil([&] { return !f.isFullScreen(); }, 3000));
    sorinel::testing::pumpFor(700);
    EXPECT_FALSE(f.MediaPlayer1->fullScreen());
    EXPECT_FALSE(f.isFullScreen());
    EXPECT_EQ(f.MediaPlayer1->playState(), 3) << "paused by the first click, resumed by the second";
    f.MediaPlayer1->stop();
}

TEST(Form1Tray, HandlesAndWindowState) {
    FormUnderTest t;
    Form1& f = *t.form;
    sorinel::tray::FormAccess& access = f.trayAccess();
    EXPECT_NE(access.hWnd(), 0u);
    EXPECT_EQ(access.hWnd(), access.hWnd());
    FormUnderTest second;
    EXPECT_NE(second.form->trayAccess().hWnd(), access.hWnd());
    const std::uint32_t picture = access.taskbarPictureHandle();
    EXPECT_NE(picture, 0u);
    EXPECT_EQ(access.taskbarPictureHandle(), picture);
    EXPECT_FALSE(sorinel::platform::pictureFromHandle(picture).isNull());

    t.start();
    EXPECT_EQ(access.windowState(), 0);
    access.setWindowState(1);
    EXPECT_EQ(access.windowState(), 1);
    access.setWindowState(0);
    EXPECT_EQ(access.windowState(), 0);
}

TEST(Form1Screenshot, JapaneseTextsOnTheRealWindow) {
    FormUnderTest t;
    Form1& f = *t.form;
    f.File1->setPath(sorinel::testing::mediaDir());
    t.start();
    f.move(0, 0);
    sorinel::testing::pumpFor(500);
    EXPECT_TRUE(sorinel::testing::screenshot(QStringLiteral(SORINEL_SCREENSHOT)));
}

TEST(Form1Tray, MinimiseHidesAndATrayClickBringsTheWindowBack) {
    sorinel::testing::BackgroundProgram trayHost("trayer", {"--edge", "top", "--align", "left"});
    if (!sorinel::testing::waitUntil([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 5000))
        GTEST_SKIP() << "no tray host";
    FormUnderTest t;
    Form1& f = *t.form;
    t.start();
    sorinel::testing::pumpFor(500);  // the icon docks into the tray host

    // What plays stays as it was: the entry, and the order the boxes show.
    f.sequence().i = 2;
    f.randam_chk->setValue(1);
    ASSERT_EQ(f.sequence().randfl, 1);
    f.sequence().randfl = 0;  // behind the box's back: activation shows
    f.trayAccess().setWindowState(1);
    ASSERT_TRUE(sorinel::testing::waitUntil([&] { return f.isHidden(); }, 3000));

    // A left click on the icon, at the tray host's first slot.
    sorinel::testing::run("xdotool", {"mousemove", "--sync", "10", "10", "click", "1"});
    ASSERT_TRUE(sorinel::testing::waitUntil([&] { return f.isVisible() && !f.isMinimized(); }, 5000));
    sorinel::testing::pumpFor(300);
    EXPECT_EQ(f.sequence().randfl, 1);  // shown again: activated
    EXPECT_EQ(f.sequence().i, 2);
    EXPECT_GE(f.frameGeometry().height(), 133);
}
