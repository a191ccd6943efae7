// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A desktop's media-control client on its own connection to the test's
// session bus: reads the player's properties, keeps what PropertiesChanged
// and Seeked have told it, and calls methods without blocking the thread the
// service lives on.

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QObject>
#include <QVariantMap>

#include <memory>
#include <vector>

#include "desktop.h"

namespace sorinel::testing {

class MprisClient : public QObject {
    Q_OBJECT
public:
    MprisClient();
    ~MprisClient() override;

    bool connected() const { return bus_.isConnected(); }
    QVariantMap playerProperties();
    QVariantMap rootProperties();
    QDBusObjectPath trackId();
    bool setPlayerProperty(const QString& name, const QVariant& value);
    std::shared_ptr<QDBusPendingCallWatcher> callAsync(const QString& method, const QVariantList& args);

    // Reads every property once, as a client does when it finds the player;
    // told() then follows PropertiesChanged from there.
    void follow() { told_ = playerProperties(); }
    // What the client knows: what it read, with every PropertiesChanged since
    // merged in order.
    const QVariantMap& told() const { return told_; }
    int propertiesChangedCount() const { return propertiesChanged_; }
    const std::vector<qlonglong>& seeked() const { return seeked_; }

private slots:
    void onPropertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList& invalidated);
    void onSeeked(qlonglong position);

private:
    QVariantMap getAll(const QString& interface);

    QString name_;
    QDBusConnection bus_;
    QVariantMap told_;
    int propertiesChanged_ = 0;
    std::vector<qlonglong> seeked_;
};

}  // namespace sorinel::testing
