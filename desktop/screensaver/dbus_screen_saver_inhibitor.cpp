// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/screensaver/dbus_screen_saver_inhibitor.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QLoggingCategory>

#include <array>

namespace sorinel::desktop {

namespace {

Q_LOGGING_CATEGORY(lcDBusSaver, "sorinel.screensaver.dbus", QtWarningMsg)

constexpr auto Service = "org.freedesktop.ScreenSaver";
constexpr auto Interface = "org.freedesktop.ScreenSaver";
// The standard path first; older KDE and some other desktops export the
// same interface at /ScreenSaver only.
constexpr std::array<const char*, 2> Paths = {"/org/freedesktop/ScreenSaver", "/ScreenSaver"};

// The service is there but not at this path: worth trying the next one.
bool wrongPath(const QDBusError& error) {
    switch (error.type()) {
    case QDBusError::UnknownObject:
    case QDBusError::UnknownMethod:
    case QDBusError::UnknownInterface:
        return true;
    default:
        return false;
    }
}

}  // namespace

DBusScreenSaverInhibitor::DBusScreenSaverInhibitor(QString appName, BusSource bus, QObject* parent)
    : QObject(parent), appName_(std::move(appName)), busSource_(std::move(bus)) {}

DBusScreenSaverInhibitor::~DBusScreenSaverInhibitor() {
    if (cookie_) sendUnInhibit(*cookie_, cookiePath_);
    if (!inhibitInFlight_) return;
    // The connection outlives this object: without this, the cookie of an
    // answer still on its way would hold the saver until the program ends.
    QDBusPendingCallWatcher* orphan = inhibitInFlight_;
    orphan->disconnect(this);
    orphan->setParent(nullptr);
    QObject::connect(orphan, &QDBusPendingCallWatcher::finished,
                     [bus = *bus_, path = Paths[inFlightPath_]](QDBusPendingCallWatcher* w) {
                         w->deleteLater();
                         const QDBusPendingReply<uint> reply = *w;
                         if (reply.isError()) return;
                         QDBusMessage call = QDBusMessage::createMethodCall(Service, path, Interface, "UnInhibit");
                         call << reply.value();
                         bus.send(call);
                     });
}

void DBusScreenSaverInhibitor::startHolding(const QString& reason) {
    reason_ = reason;
    // A cookie still held, or an Inhibit still on its way, serves this hold.
    if (cookie_ || inhibitInFlight_) return;
    if (!bus_) bus_ = busSource_();
    if (!bus_->isConnected()) return;
    requestInhibit(0);
}

void DBusScreenSaverInhibitor::stopHolding() {
    if (!cookie_) return;  // an Inhibit on its way is released on its reply
    sendUnInhibit(*cookie_, cookiePath_);
    cookie_.reset();
}

void DBusScreenSaverInhibitor::requestInhibit(int pathIndex) {
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Paths[pathIndex], Interface, "Inhibit");
    call << appName_ << reason_;
    auto* watcher = new QDBusPendingCallWatcher(bus_->asyncCall(call), this);
    inhibitInFlight_ = watcher;
    inFlightPath_ = pathIndex;
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, pathIndex](QDBusPendingCallWatcher* w) { onInhibitReplied(w, pathIndex); });
}

void DBusScreenSaverInhibitor::onInhibitReplied(QDBusPendingCallWatcher* watcher, int pathIndex) {
    watcher->deleteLater();
    inhibitInFlight_ = nullptr;
    const QDBusPendingReply<uint> reply = *watcher;
    if (reply.isError()) {
        const QDBusError error = reply.error();
        qCDebug(lcDBusSaver) << "Inhibit at" << Paths[pathIndex] << "failed:" << error.name();
        if (inhibited() && wrongPath(error) && pathIndex + 1 < int(Paths.size())) requestInhibit(pathIndex + 1);
        return;
    }
    const uint cookie = reply.value();
    if (!inhibited()) {
        // Released while the request was on its way.
        sendUnInhibit(cookie, pathIndex);
        return;
    }
    cookie_ = cookie;
    cookiePath_ = pathIndex;
}

void DBusScreenSaverInhibitor::sendUnInhibit(uint cookie, int pathIndex) {
    if (!bus_ || !bus_->isConnected()) return;
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Paths[pathIndex], Interface, "UnInhibit");
    call << cookie;
    // Nobody waits for the answer; a failure leaves nothing to repair.
    bus_->send(call);
}

}  // namespace sorinel::desktop
