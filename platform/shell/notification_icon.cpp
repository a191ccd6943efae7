// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/shell/notification_icon.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>

#include "platform/display_server.h"
#include "platform/shell/window_procedures.h"

namespace sorinel::platform {
namespace {

// Some desktops (GNOME's AppIndicator) open the menu on a left click and
// never report the click itself, so the menu's first entry must do what a
// left click does.
const char* const kShowEntryText = "ウィンドウを表示";

// An icon with no picture is not shown at all by Qt; a plain tile keeps the
// way back to a hidden window.
QIcon fallbackIcon() {
    QIcon icon = QApplication::windowIcon();
    if (!icon.isNull()) return icon;
    QPixmap tile(22, 22);
    tile.fill(QColor(0xd2, 0xb4, 0x8c));
    return QIcon(tile);
}

}  // namespace

NotificationIcon::NotificationIcon(std::function<void(std::int32_t)> mouseMessage)
    : mouseMessage_(std::move(mouseMessage)) {
    QAction* showEntry = menu_.addAction(QString::fromUtf8(kShowEntryText));
    connect(
        showEntry, &QAction::triggered, this, [this] { deliver(WM_LBUTTONDOWN); }, Qt::QueuedConnection);
    tray_.setContextMenu(&menu_);
    tray_.setIcon(fallbackIcon());
    // Queued: the window's procedure may pump events or remove this icon, which
    // must not happen while Qt's tray code is still on the stack.
    connect(&tray_, &QSystemTrayIcon::activated, this, &NotificationIcon::onActivated, Qt::QueuedConnection);
}

void NotificationIcon::setIcon(const QIcon& icon) { tray_.setIcon(icon.isNull() ? fallbackIcon() : icon); }

void NotificationIcon::setTip(const QString& tip) { tray_.setToolTip(tip); }

void NotificationIcon::show() {
    // An X11 desktop may start its tray after the program, and Qt docks the
    // icon then. A Wayland session has no such tray: with no StatusNotifier
    // host now, Qt would set up an X11 watcher that cannot work there (and
    // says so on stderr), so the icon stays off and the window, which then
    // never hides itself, is the way back.
    if (platform::runsOnWayland() && !QSystemTrayIcon::isSystemTrayAvailable()) return;
    tray_.show();
}

void NotificationIcon::hide() { tray_.hide(); }

void NotificationIcon::onActivated(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        deliver(WM_LBUTTONDOWN);
        break;
    case QSystemTrayIcon::DoubleClick:
        deliver(WM_LBUTTONDBLCLK);
        break;
    case QSystemTrayIcon::Context:
        deliver(WM_RBUTTONDOWN);
        break;
    case QSystemTrayIcon::MiddleClick:
        deliver(WM_MBUTTONDOWN);
        break;
    case QSystemTrayIcon::Unknown:
        break;
    }
}

void NotificationIcon::deliver(std::int32_t mouseMessage) {
    // Copied first: the receiver may delete this object.
    const auto receiver = mouseMessage_;
    if (receiver) receiver(mouseMessage);
}

}  // namespace sorinel::platform
