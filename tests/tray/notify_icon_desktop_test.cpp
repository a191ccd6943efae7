// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The notification icon on a real tray host (trayer on the test's own X
// server): it appears with its tip, clicks on it reach the window's
// procedure, and the hook brings a hidden, minimised window back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QWidget>
#include <algorithm>
#include <memory>
#include <vector>

#include "desktop.h"
#include "platform/shell/notify_icon.h"
#include "platform/shell/picture_handles.h"
#include "platform/shell/window_procedures.h"
#include "playback/ports.h"
#include "tray/lifecycle.h"
#include "tray/mod_wnd_proc.h"
#include "tray/tray_record.h"
#include "tray_host.h"

namespace sorinel::tray {
namespace {

using sorinel::testing::pumpFor;
using sorinel::testing::waitUntil;

struct Message {
    std::int32_t hWnd, uMsg, wParam, lParam;
    bool operator==(const Message&) const = default;
};

std::vector<Message> received;
std::int32_t RecordingProc(std::int32_t hWnd, std::int32_t uMsg, std::int32_t wParam, std::int32_t lParam) {
    received.push_back({hWnd, uMsg, wParam, lParam});
    return 0;
}

bool receivedMouse(std::int32_t hWnd, std::int32_t mouse) {
    return std::count(received.begin(), received.end(), Message{hWnd, 1025, 1, mouse}) > 0;
}

std::uint32_t tilePicture() {
    QPixmap tile(48, 48);
    tile.fill(QColor(0xd2, 0xb4, 0x8c));
    return platform::registerPicture(QIcon(tile));
}

class TrayIconOnHost : public testing::TrayHost {
protected:
    void SetUp() override {
        TrayHost::SetUp();
        received.clear();
    }
};

TEST_F(TrayIconOnHost, IconShowsItsTipAndClicksReachTheWindowProcedure) {
    constexpr std::int32_t hWnd = 0x3101;
    platform::SetWindowLongA(hWnd, platform::GWL_WNDPROC, &RecordingProc);
    const TrayRecord add = makeTrayRecord(hWnd, 7, tilePicture(), kTrayTip);
    ASSERT_TRUE(platform::Shell_NotifyIconA(platform::NIM_ADD, add));
    EXPECT_FALSE(platform::Shell_NotifyIconA(platform::NIM_ADD, add)) << "the same icon was added twice";

    const QSystemTrayIcon* icon = platform::findNotifyIcon(hWnd, 1);
    ASSERT_NE(icon, nullptr);
    EXPECT_TRUE(icon->isVisible());
    EXPECT_EQ(icon->toolTip(), QString::fromUtf8(kTrayTip.data(), kTrayTip.size()));

    click(*icon, 1);
    ASSERT_TRUE(waitUntil([] { return receivedMouse(hWnd, 513); }, 5000)) << "left click not delivered";

    received.clear();
    click(*icon, 3);
    EXPECT_TRUE(waitUntil([] { return receivedMouse(hWnd, 516); }, 5000)) << "right click not delivered";
    pumpFor(300);
    EXPECT_FALSE(receivedMouse(hWnd, 513)) << "a right click counted as a left press";
    if (icon->contextMenu()) icon->contextMenu()->hide();

    EXPECT_TRUE(platform::Shell_NotifyIconA(platform::NIM_DELETE, makeTrayRecord(hWnd, 5, 0, "")));
    EXPECT_EQ(platform::findNotifyIcon(hWnd, 1), nullptr);
    EXPECT_FALSE(platform::Shell_NotifyIconA(platform::NIM_DELETE, makeTrayRecord(hWnd, 5, 0, "")));
}

TEST_F(TrayIconOnHost, MenuFirstEntryActsAsALeftPress) {
    constexpr std::int32_t hWnd = 0x3102;
    platform::SetWindowLongA(hWnd, platform::GWL_WNDPROC, &RecordingProc);
    ASSERT_TRUE(platform::Shell_NotifyIconA(platform::NIM_ADD, makeTrayRecord(hWnd, 7, tilePicture(), kTrayTip)));
    const QSystemTrayIcon* icon = platform::findNotifyIcon(hWnd, 1);
    ASSERT_NE(icon, nullptr);
    ASSERT_NE(icon->contextMenu(), nullptr);
    ASSERT_FALSE(icon->contextMenu()->actions().isEmpty());
    icon->contextMenu()->actions().first()->trigger();
    EXPECT_TRUE(waitUntil([] { return receivedMouse(hWnd, 513); }, 2000));
    platform::Shell_NotifyIconA(platform::NIM_DELETE, makeTrayRecord(hWnd, 5, 0, ""));
}

TEST_F(TrayIconOnHost, WithoutTheCallbackFlagClicksReachNobody) {
    constexpr std::int32_t hWnd = 0x3103;
    platform::SetWindowLongA(hWnd, platform::GWL_WNDPROC, &RecordingProc);
    ASSERT_TRUE(platform::Shell_NotifyIconA(platform::NIM_ADD, makeTrayRecord(hWnd, 6, tilePicture(), kTrayTip)));
    const QSystemTrayIcon* icon = platform::findNotifyIcon(hWnd, 1);
    ASSERT_NE(icon, nullptr);
    click(*icon, 1);
    pumpFor(500);
    EXPECT_TRUE(received.empty());
    platform::Shell_NotifyIconA(platform::NIM_DELETE, makeTrayRecord(hWnd, 5, 0, ""));
}

class IdleTimer : public playback::Timer {
public:
    void setInterval(std::int32_t ms) override { interval_ = ms; }
    std::int32_t interval() const override { return interval_; }
    void setEnabled(bool on) override { enabled_ = on; }
    bool enabled() const override { return enabled_; }

private:
    std::int32_t interval_ = 2000;
    bool enabled_ = true;
};

class IdlePlayer : public playback::Player {
public:
    int stops = 0;
    void setUrl(const std::string&) override {}
    std::string url() const override { return {}; }
    std::int32_t playState() const override { return 1; }
    void play() override {}
    void pause() override {}
    void stop() override { ++stops; }
    double currentPosition() const override { return 0; }
    void setCurrentPosition(double) override {}
    double duration() const override { return 0; }
    void setFullScreen(bool) override {}
};

// A plain top-level widget in the main window's place.
class WidgetForm : public FormAccess {
public:
    explicit WidgetForm(std::uint32_t handle) : handle_(handle), picture_(tilePicture()) {}
    QWidget widget;
    IdleTimer t1, t2;
    IdlePlayer idlePlayer;
    bool iconPresentDuringWait = true;
    bool windowShownDuringWait = false;
    int ended = 0;

    std::uint32_t hWnd() const override { return handle_; }
    int windowState() const override { return widget.isMinimized() ? 1 : 0; }
    void setWindowState(int s) override {
        widget.setWindowState(s == 1 ? (widget.windowState() | Qt::WindowMinimized)
                                     : (widget.windowState() & ~Qt::WindowMinimized));
    }
    void showWindow() override {
        widget.show();
        widget.raise();
        widget.activateWindow();
    }
    std::uint32_t taskbarPictureHandle() const override { return picture_; }
    playback::Timer& timer1() override { return t1; }
    playback::Timer& timer2() override { return t2; }
    playback::Player& player() override { return idlePlayer; }
    double waitTimer(std::int32_t sc) override {
        iconPresentDuringWait = platform::findNotifyIcon(handle_, 1) != nullptr;
        windowShownDuringWait = widget.isVisible();
        pumpFor(sc * 1000);
        return 0;
    }
    void endProgram() override { ++ended; }

private:
    std::uint32_t handle_;
    std::uint32_t picture_;
};

TEST_F(TrayIconOnHost, LeftClickBringsBackAMinimisedHiddenWindowAndCloseRemovesTheIcon) {
    WidgetForm form(0x3104);
    form.widget.resize(320, 240);
    form.widget.show();
    ASSERT_TRUE(waitUntil([&] { return form.widget.isVisible(); }, 3000));
    Form_Load(form);
    const QSystemTrayIcon* icon = platform::findNotifyIcon(form.hWnd(), 1);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->toolTip(), QString::fromUtf8(kTrayTip.data(), kTrayTip.size()));

    // What the layout pass does to a minimised window.
    form.widget.showMinimized();
    form.widget.hide();
    pumpFor(200);
    ASSERT_FALSE(form.widget.isVisible());

    click(*icon, 3);  // right: nothing
    pumpFor(500);
    if (icon->contextMenu()) icon->contextMenu()->hide();
    EXPECT_FALSE(form.widget.isVisible());
    EXPECT_EQ(form.windowState(), 1);

    click(*icon, 1);
    EXPECT_TRUE(waitUntil([&] { return form.widget.isVisible(); }, 5000));
    EXPECT_EQ(form.windowState(), 0);

    Form_Unload(form);
    EXPECT_FALSE(form.iconPresentDuringWait) << "the icon outlived the close's first steps";
    EXPECT_TRUE(form.windowShownDuringWait);
    EXPECT_EQ(platform::findNotifyIcon(form.hWnd(), 1), nullptr);
    EXPECT_FALSE(form.t1.enabled());
    EXPECT_FALSE(form.t2.enabled());
    EXPECT_EQ(form.idlePlayer.stops, 1);
    EXPECT_EQ(form.ended, 1);
}

}  // namespace
}  // namespace sorinel::tray
