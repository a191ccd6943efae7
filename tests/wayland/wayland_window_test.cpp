// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The window as a native Wayland client of a headless compositor (weston,
// which has no tray): a click plays, full screen is taken and left, a file
// plays to its end and the next one follows, the video shows, minimising
// never loses the window, and closing ends the program. Clicks are sent
// inside the process: xdotool does not reach a Wayland compositor.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QGuiApplication>
#include <QImage>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <QAbstractButton>
#include <QLineEdit>
#include <QWindow>
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

#include "desktop.h"
#include "platform/shell/window_procedures.h"
#include "platform/video/video_area.h"
#include "platform/video/video_window.h"
#include "playback/system_clock.h"
#include "playback/system_random.h"
#include "tray/tray_record.h"
#include "window/form1.h"
#include "window/readable_fonts.h"

namespace sorinel {
namespace {

using testing::pumpFor;
using testing::waitUntil;

// How many distinct colours the top half of the compositor's output holds,
// counted on a coarse grid: the clips' test pattern has many, a player that
// covers the output without a picture (black) one or two. The video is a
// native window of its own, which a grab of the widgets would not see, so the
// picture is the compositor's (weston-screenshooter, allowed by --debug).
QImage outputShot() {
    QTemporaryDir shots;
    QProcess shooter;
    shooter.setWorkingDirectory(shots.path());
    shooter.start(QStringLiteral("weston-screenshooter"), {});
    if (!shooter.waitForFinished(10000) || shooter.exitCode() != 0) return {};
    const QStringList files = QDir(shots.path()).entryList({QStringLiteral("*.png")});
    return files.isEmpty() ? QImage() : QImage(shots.filePath(files.first()));
}

int outputColours() {
    const QImage whole = outputShot();
    if (whole.isNull()) return -1;
    const QImage image = whole.copy(0, 0, whole.width(), whole.height() / 2);
    if (qEnvironmentVariableIsSet("SORINEL_SAVE_VIDEO_GRAB"))
        whole.save(qEnvironmentVariable("SORINEL_SAVE_VIDEO_GRAB") + ".png");
    std::set<QRgb> seen;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4) seen.insert(image.pixel(x, y) & 0xf0f0f0);
    return static_cast<int>(seen.size());
}

class WaylandWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(QGuiApplication::platformName(), "wayland") << "run this test under run-under-weston.sh";
        ASSERT_TRUE(folder.isValid());
        for (const char* name : {"a.mpg", "b.mov"}) {
            const QString source = QStringLiteral(E2E_MEDIA_DIR "/short.") + QString(name).section('.', 1);
            ASSERT_TRUE(QFile::copy(source, folder.filePath(name)));
        }
        form = std::make_unique<window::Form1>(clock, random);
        QObject::connect(form->MediaPlayer1, &platform::MediaPlayer::playStateChange, form.get(), [this](int s) {
            if (s == 3) played.push_back(QFileInfo(form->MediaPlayer1->url()).fileName());
        });
        form->File1->setPath(folder.path());
        form->raiseLoad();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        pumpFor(300);
    }

    void TearDown() override {
        if (form && !form->ended()) form->close();
        form.reset();
        EXPECT_TRUE(warnings.lines().isEmpty()) << warnings.lines().join('\n').toStdString();
    }

    void clickEntry(int index) {
        auto* list = form->File1;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(index)).center());
    }

    testing::WarningLog warnings;
    playback::SystemClock clock;
    playback::SystemRandom random;
    QTemporaryDir folder;
    std::unique_ptr<window::Form1> form;
    std::vector<QString> played;
};

TEST_F(WaylandWindow, PlaysTheFolderInFullScreenAndCloses) {
    QTest::mouseClick(form->full_chk, Qt::LeftButton);
    ASSERT_EQ(form->full_chk->Value(), 1);
    clickEntry(0);
    ASSERT_TRUE(waitUntil([&] { return !played.empty(); }, 10000)) << "the click played nothing";
    EXPECT_EQ(played.front(), "a.mpg");
    ASSERT_TRUE(waitUntil([&] { return form->MediaPlayer1->fullScreen(); }, 5000));
    // The compositor was asked for full screen: some window of the program
    // now covers the output.
    const QSize screen = QGuiApplication::primaryScreen()->size();
    EXPECT_TRUE(waitUntil(
        [&] {
            for (QWindow* w : QGuiApplication::topLevelWindows())
                if (w->isExposed() && w->size() == screen) return true;
            return false;
        },
        5000))
        << "no window of the program fills the " << screen.width() << "x" << screen.height() << " output";

    // The video reaches the output: the clip's test pattern over the whole
    // screen, not the player's black.
    pumpFor(500);
    EXPECT_GT(outputColours(), 8) << "the full-screen player shows no picture";

    // The video's own window takes the mouse here too: a click pauses, the
    // next resumes, a double-click leaves full screen.
    auto* area = form->MediaPlayer1->findChild<platform::VideoArea*>(QStringLiteral("videoArea"));
    ASSERT_NE(area, nullptr);
    QWindow* video = area->videoWindow();
    ASSERT_NE(video, nullptr) << "no video window";
    const QPoint middle(video->width() / 2, video->height() / 3);
    QTest::mouseClick(video, Qt::LeftButton, {}, middle);
    EXPECT_TRUE(waitUntil([&] { return form->MediaPlayer1->playState() == 2; }, 3000)) << "a click did not pause";
    QTest::mouseClick(video, Qt::LeftButton, {}, middle);
    EXPECT_TRUE(waitUntil([&] { return form->MediaPlayer1->playState() == 3; }, 3000)) << "a click did not resume";
    QTest::mouseDClick(video, Qt::LeftButton, {}, middle);
    EXPECT_TRUE(waitUntil([&] { return !form->MediaPlayer1->fullScreen(); }, 3000))
        << "a double-click did not leave full screen";

    form->MediaPlayer1->setFullScreen(false);
    form->full_chk->setValue(0);
    // Back in the window, the player gives the list its place again.
    EXPECT_TRUE(waitUntil([&] { return !form->MediaPlayer1->geometry().intersects(form->File1->geometry()); }, 3000))
        << "the player still covers the list after full screen";
    // The two-second clip ends and the advance starts the next file.
    ASSERT_TRUE(waitUntil([&] { return played.size() >= 2 && played.back() == "b.mov"; }, 15000));
    EXPECT_EQ(form->sequence().i, 1);
    EXPECT_TRUE(form->isVisible());

    form->close();
    ASSERT_TRUE(waitUntil([&] { return form->ended(); }, 6000)) << "the close did not end the program";
}

// Wayland keeps minimising to the compositor and this one has no tray: the
// window must stay where a person can find it, and the tray's way back (the
// left click the desktop's media controls also use) still restores it.
TEST_F(WaylandWindow, MinimisingNeverLosesTheWindow) {
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
    form->showMinimized();
    pumpFor(1000);  // the layout pass has run
    EXPECT_TRUE(form->isVisible()) << "the window hid itself with no tray to bring it back";
    platform::SendMessageA(static_cast<std::int32_t>(form->hWnd()), static_cast<std::int32_t>(tray::WM_TRAYCALLBACK), 1,
                           platform::WM_LBUTTONDOWN);
    ASSERT_TRUE(waitUntil([&] { return form->isVisible() && !form->isMinimized(); }, 5000));
}

// The decorations Qt draws here count as a frame does: the right-hand column
// stands whole inside the window, the seconds boxes at its foot whole on the
// compositor's output.
TEST_F(WaylandWindow, TheRightHandColumnStandsWhole) {
    form->resize(418, 334);
    pumpFor(800);
    const QImage shot = outputShot();
    for (QLineEdit* box : {static_cast<QLineEdit*>(form->StartTime_txt), static_cast<QLineEdit*>(form->EndTime_txt)}) {
        QRect onScreen;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                if (shot.pixel(x, y) == box->palette().color(QPalette::Base).rgb()) onScreen |= QRect(x, y, 1, 1);
        EXPECT_EQ(onScreen.size(), box->size()) << box->objectName().toStdString() << " is cut";
    }
    EXPECT_LT(form->File1->geometry().right(), form->width() - 1);
    for (const QAbstractButton* c :
         {static_cast<QAbstractButton*>(form->full_chk), static_cast<QAbstractButton*>(form->Command1)})
        EXPECT_TRUE(window::captionFits(*c, c->font())) << c->objectName().toStdString();
}

// A click on the video leaves the keyboard with the window. (This compositor
// has no keyboard and gives no window focus: Space is typed to the window.)
TEST_F(WaylandWindow, AClickOnTheVideoLeavesTheKeyboardWithTheWindow) {
    clickEntry(1);
    ASSERT_TRUE(waitUntil([&] { return form->MediaPlayer1->playState() == 3; }, 10000));
    QWindow* video = form->MediaPlayer1->findChild<platform::VideoArea*>(QStringLiteral("videoArea"))->videoWindow();
    QTest::mouseClick(video, Qt::LeftButton, {}, QPoint(video->width() / 2, video->height() / 3));
    ASSERT_TRUE(waitUntil([&] { return form->MediaPlayer1->playState() == 2; }, 3000));
    EXPECT_NE(QGuiApplication::focusWindow(), video);
    QTest::keyClick(form->windowHandle(), Qt::Key_Space);
    EXPECT_TRUE(waitUntil([&] { return form->MediaPlayer1->playState() == 3; }, 3000));
    form->MediaPlayer1->stop();
}

}  // namespace
}  // namespace sorinel
