// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One icon in the notification area: owns the QSystemTrayIcon and its menu,
// and turns what the user does with the icon into the mouse numbers of the
// other desktop's tray callback (513 left press, 515 double click, 516 right
// press, 519 middle press).

#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>
#include <cstdint>
#include <functional>

namespace sorinel::platform {

class NotificationIcon : public QObject {
    Q_OBJECT
public:
    // mouseMessage receives the mouse number; it runs from the event loop,
    // never inside Qt's tray code, and may delete this icon.
    explicit NotificationIcon(std::function<void(std::int32_t mouseMessage)> mouseMessage);

    void setIcon(const QIcon& icon);
    void setTip(const QString& tip);
    void show();
    void hide();

    const QSystemTrayIcon& trayIcon() const { return tray_; }

private:
    void onActivated(QSystemTrayIcon::ActivationReason reason);
    void deliver(std::int32_t mouseMessage);

    std::function<void(std::int32_t)> mouseMessage_;
    QMenu menu_;
    QSystemTrayIcon tray_;
};

}  // namespace sorinel::platform
