// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The real main window with the tray on a real tray host: minimising puts it
// away, a left click on the icon brings it back with the play-list state
// reset, closing removes the icon at once, keeps the window for the close's
// wait and starts no further file, and a tray host that quits while the
// window is put away does not take the window with it.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>
#include <memory>

#include "desktop.h"
#include "platform/shell/notify_icon.h"
#include "playback/system_clock.h"
#include "playback/system_random.h"
#include "tray/tray_record.h"
#include "tray_host.h"
#include "window/form1.h"

namespace sorinel::tray {
namespace {

using sorinel::testing::mediaDir;
using sorinel::testing::pumpFor;
using sorinel::testing::waitUntil;
using testing::TrayHost;

class MainWindowTray : public TrayHost {
protected:
    void SetUp() override {
        TrayHost::SetUp();
        form = std::make_unique<window::Form1>(clock, random);
        form->File1->setPath(mediaDir());
        form->raiseLoad();
        form->show();
        ASSERT_TRUE(waitUntil([&] { return form->isVisible(); }, 5000));
        pumpFor(300);  // the first layout pass and activation
    }
    void TearDown() override {
        // Closed the way the user closes it, so the icon and the hook let go
        // of the window before it is destroyed.
        if (form && !form->ended()) form->close();
        form.reset();
    }

    const QSystemTrayIcon* icon() const { return platform::findNotifyIcon(form->hWnd(), kTrayIconId); }

    playback::SystemClock clock;
    playback::SystemRandom random;
    std::unique_ptr<window::Form1> form;
};

TEST_F(MainWindowTray, TheIconIsThereFromTheStartWithItsTip) {
    ASSERT_NE(icon(), nullptr);
    EXPECT_TRUE(icon()->isVisible());
    EXPECT_EQ(icon()->toolTip(), QString::fromUtf8(kTrayTip.data(), kTrayTip.size()));
    // The picture of Img_taskbar, not a stand-in.
    ASSERT_FALSE(form->Img_taskbar->picture().isNull());
    EXPECT_EQ(icon()->icon().pixmap(22, 22).toImage(), form->Img_taskbar->picture().pixmap(22, 22).toImage());
}

// The restore is an activation: i stays, and the order flags are what the
// boxes show (set here behind the boxes' back, so the activation shows).
TEST_F(MainWindowTray, MinimiseHidesAndALeftClickRestoresKeepingWhatPlays) {
    ASSERT_NE(icon(), nullptr);
    playback::PlaybackSequence& seq = form->sequence();
    seq.i = 2;
    seq.loopfl = 1;
    seq.randfl = 1;

    form->showMinimized();
    ASSERT_TRUE(waitUntil([&] { return !form->isVisible(); }, 5000)) << "a minimised window stayed on screen";

    click(*icon(), 3);  // right: nothing
    pumpFor(500);
    if (icon()->contextMenu()) icon()->contextMenu()->hide();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(seq.loopfl, 1);

    click(*icon(), 1);
    ASSERT_TRUE(waitUntil([&] { return form->isVisible() && !form->isMinimized(); }, 5000));
    EXPECT_TRUE(waitUntil([&] { return seq.i == 2 && seq.loopfl == 0 && seq.randfl == 0; }, 3000))
        << "i=" << seq.i << " loopfl=" << seq.loopfl << " randfl=" << seq.randfl;
}

TEST_F(MainWindowTray, ClosingRemovesTheIconAtOnceAndStartsNoFurtherFile) {
    ASSERT_GE(form->File1->count(), 2) << "no test media in " << mediaDir().toStdString();
    const std::uint32_t hWnd = form->hWnd();
    form->File1->setSelected(0, true);
    ASSERT_TRUE(waitUntil([&] { return form->MediaPlayer1->playState() == 3; }, 10000));
    const QString firstFile = form->MediaPlayer1->url();
    // Close about a second before the 4 s clip ends: without the close, its
    // end would advance to the next entry within the close's wait.
    waitUntil([&] { return form->MediaPlayer1->currentPosition() >= 2.8; }, 6000);

    bool iconGoneDuringWait = false;
    bool windowShownDuringWait = false;
    QTimer::singleShot(300, [&] {
        iconGoneDuringWait = platform::findNotifyIcon(hWnd, kTrayIconId) == nullptr;
        windowShownDuringWait = form->isVisible();
    });
    QElapsedTimer closing;
    closing.start();
    form->close();
    const qint64 closeMs = closing.elapsed();

    EXPECT_TRUE(iconGoneDuringWait);
    EXPECT_TRUE(windowShownDuringWait);
    EXPECT_GE(closeMs, 1400);
    EXPECT_LE(closeMs, 3500);
    EXPECT_TRUE(form->ended());
    pumpFor(2000);  // the clip's end, had anything still been listening
    EXPECT_EQ(form->MediaPlayer1->url(), firstFile);
    EXPECT_NE(form->MediaPlayer1->playState(), 3);
}

// Its own tray host, which the test ends.
TEST(MainWindowTrayLoss, AWindowPutAwayComesBackWhenTheTrayQuits) {
    playback::SystemClock clock;
    playback::SystemRandom random;
    struct Desktop {
        const char* name;  // XDG_CURRENT_DESKTOP
        bool minimised;    // where the window comes back
    };
    for (const Desktop desktop : {Desktop{"", false}, Desktop{"XFCE", true}}) {
        SCOPED_TRACE(desktop.name);
        qputenv("XDG_CURRENT_DESKTOP", desktop.name);
        auto host = std::make_unique<sorinel::testing::BackgroundProgram>(
            "trayer", QStringList{"--edge", "top", "--align", "left"});
        ASSERT_TRUE(waitUntil([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 10000));
        auto form = std::make_unique<window::Form1>(clock, random);
        form->raiseLoad();
        form->show();
        const QSystemTrayIcon* icon = platform::findNotifyIcon(form->hWnd(), kTrayIconId);
        ASSERT_NE(icon, nullptr);
        ASSERT_TRUE(waitUntil([&] { return icon->geometry().width() > 0; }, 5000)) << "icon never embedded";
        pumpFor(300);

        form->showMinimized();
        ASSERT_TRUE(waitUntil([&] { return !form->isVisible(); }, 5000)) << "minimising did not put it away";
        form->sequence().randfl = 1;
        host.reset();  // the tray host quits
        ASSERT_TRUE(waitUntil([&] { return form->isVisible(); }, 5000)) << "the window stayed lost";
        pumpFor(300);
        EXPECT_EQ(form->isMinimized(), desktop.minimised);
        // Come back by itself, it has not been activated: nothing of the
        // play-list state changes until the user restores it.
        EXPECT_EQ(form->sequence().randfl, desktop.minimised ? 1 : 0);
        if (desktop.minimised) {
            form->showNormal();
            EXPECT_TRUE(waitUntil([&] { return form->sequence().randfl == 0; }, 3000));
        }
        // Without a tray, minimising leaves the window where it can be found.
        form->showMinimized();
        pumpFor(500);
        EXPECT_TRUE(form->isVisible());
    }
    qunsetenv("XDG_CURRENT_DESKTOP");
}

}  // namespace
}  // namespace sorinel::tray
