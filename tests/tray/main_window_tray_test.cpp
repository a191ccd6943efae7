// The real main window with the tray on a real tray host: minimising puts it
// away, a left click on the icon brings it back with the play-list state
// reset, and closing removes the icon at once, keeps the window for the
// close's wait and starts no further file.
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

    const QSystemTrayIcon* icon() const { return shell::findNotifyIcon(form->hWnd(), kTrayIconId); }

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

TEST_F(MainWindowTray, MinimiseHidesAndALeftClickRestoresWithTheStateReset) {
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
    EXPECT_TRUE(waitUntil([&] { return seq.i == 0 && seq.loopfl == 0 && seq.randfl == 0; }, 3000))
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
        iconGoneDuringWait = shell::findNotifyIcon(hWnd, kTrayIconId) == nullptr;
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

}  // namespace
}  // namespace sorinel::tray
