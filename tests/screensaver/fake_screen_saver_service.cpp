// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fake_screen_saver_service.h"

#include <algorithm>
#include <set>

namespace sorinel::testing {

namespace {
constexpr auto ServiceName = "org.freedesktop.ScreenSaver";
int connectionSerial = 0;
}  // namespace

FakeScreenSaverObject::FakeScreenSaverObject(FakeScreenSaverService& service, QString path)
    : service_(service), path_(std::move(path)) {}

uint FakeScreenSaverObject::Inhibit(const QString& appName, const QString& reason) {
    if (!service_.failWith_.isEmpty()) {
        sendErrorReply(service_.failWith_, "refused by the test");
        service_.calls_.push_back({"Inhibit", path_, appName, reason, 0});
        return 0;
    }
    const uint cookie = service_.nextCookie_++;
    service_.calls_.push_back({"Inhibit", path_, appName, reason, cookie});
    return cookie;
}

void FakeScreenSaverObject::UnInhibit(uint cookie) { service_.calls_.push_back({"UnInhibit", path_, {}, {}, cookie}); }

FakeScreenSaverService::FakeScreenSaverService(QStringList paths, QString failWith)
    : connectionName_(QString("fake-screensaver-%1").arg(++connectionSerial)),
      bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName_)),
      failWith_(std::move(failWith)) {
    if (!bus_.isConnected()) return;
    for (const QString& path : paths) {
        objects_.push_back(std::make_unique<FakeScreenSaverObject>(*this, path));
        bus_.registerObject(path, objects_.back().get(), QDBusConnection::ExportAllSlots);
    }
    registered_ = bus_.registerService(ServiceName);
}

FakeScreenSaverService::~FakeScreenSaverService() {
    bus_.unregisterService(ServiceName);
    objects_.clear();  // a destroyed object leaves the bus by itself
    QDBusConnection::disconnectFromBus(connectionName_);
}

int FakeScreenSaverService::activeHolds() const {
    std::multiset<uint> held;
    for (const SaverCall& c : calls_) {
        if (c.method == "Inhibit" && c.cookie != 0) held.insert(c.cookie);
        if (c.method == "UnInhibit") {
            auto it = held.find(c.cookie);
            if (it != held.end()) held.erase(it);
        }
    }
    return int(held.size());
}

int FakeScreenSaverService::count(const QString& method) const {
    return int(std::count_if(calls_.begin(), calls_.end(), [&](const SaverCall& c) { return c.method == method; }));
}

}  // namespace sorinel::testing
