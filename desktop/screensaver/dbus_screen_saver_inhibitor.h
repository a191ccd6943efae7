// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Holds the screen saver through the freedesktop service on the session bus
// (org.freedesktop.ScreenSaver): Inhibit(app, reason) hands out a cookie,
// UnInhibit(cookie) gives the hold back.
//
// Every call is asynchronous: the GUI thread never waits on the bus, and a
// service living in this very process (as in the tests) can still answer.
// A release asked for while Inhibit is still on its way is carried out when
// the cookie arrives. No bus, no service or an error reply: nothing happens,
// and nothing is logged beyond debug output.

#include "desktop/screensaver/screen_saver_inhibitor.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QDBusPendingCallWatcher;

namespace sorinel::desktop {

class DBusScreenSaverInhibitor final : public QObject, public ScreenSaverInhibitor {
public:
    using BusSource = std::function<QDBusConnection()>;

    // The bus is asked for only at the first hold, so a program that never
    // plays video never touches the bus.
    explicit DBusScreenSaverInhibitor(QString appName, BusSource bus = &QDBusConnection::sessionBus,
                                      QObject* parent = nullptr);
    ~DBusScreenSaverInhibitor() override;

    // The cookie the service handed out for the current hold, if any.
    std::optional<uint> cookie() const { return cookie_; }

protected:
    void startHolding(const QString& reason) override;
    void stopHolding() override;

private:
    void requestInhibit(int pathIndex);
    void onInhibitReplied(QDBusPendingCallWatcher* watcher, int pathIndex);
    void sendUnInhibit(uint cookie, int pathIndex);

    QString appName_;
    BusSource busSource_;
    std::optional<QDBusConnection> bus_;
    QString reason_;
    std::optional<uint> cookie_;
    int cookiePath_ = 0;
    // The Inhibit on its way, if any.
    QDBusPendingCallWatcher* inhibitInFlight_ = nullptr;
    int inFlightPath_ = 0;
};

}  // namespace sorinel::desktop
