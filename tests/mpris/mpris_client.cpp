// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "mpris_client.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>

namespace sorinel::testing {
namespace {

constexpr auto kService = "org.mpris.MediaPlayer2.sorinel";
constexpr auto kPath = "/org/mpris/MediaPlayer2";
constexpr auto kPlayer = "org.mpris.MediaPlayer2.Player";
constexpr auto kProperties = "org.freedesktop.DBus.Properties";

// Values nested in a variant arrive still marshalled; Metadata is a{sv}.
QVariantMap plain(QVariantMap map) {
    for (auto it = map.begin(); it != map.end(); ++it)
        if (it->canConvert<QDBusArgument>()) *it = qdbus_cast<QVariantMap>(it->value<QDBusArgument>());
    return map;
}

int clientNumber = 0;

}  // namespace

MprisClient::MprisClient()
    : name_(QStringLiteral("mpris-client-%1").arg(++clientNumber)),
      bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, name_)) {
    bus_.connect(kService, kPath, kProperties, "PropertiesChanged", this,
                 SLOT(onPropertiesChanged(QString, QVariantMap, QStringList)));
    bus_.connect(kService, kPath, kPlayer, "Seeked", this, SLOT(onSeeked(qlonglong)));
}

MprisClient::~MprisClient() { QDBusConnection::disconnectFromBus(name_); }

QVariantMap MprisClient::getAll(const QString& interface) {
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kProperties, "GetAll");
    call << interface;
    // The service may live on this very thread: wait with the event loop running.
    const QDBusMessage reply = bus_.call(call, QDBus::BlockWithGui, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
    return plain(qdbus_cast<QVariantMap>(reply.arguments().at(0).value<QDBusArgument>()));
}

QVariantMap MprisClient::playerProperties() { return getAll(kPlayer); }
QVariantMap MprisClient::rootProperties() { return getAll("org.mpris.MediaPlayer2"); }

QDBusObjectPath MprisClient::trackId() {
    return playerProperties().value("Metadata").toMap().value("mpris:trackid").value<QDBusObjectPath>();
}

bool MprisClient::setPlayerProperty(const QString& name, const QVariant& value) {
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kProperties, "Set");
    call << QString::fromLatin1(kPlayer) << name << QVariant::fromValue(QDBusVariant(value));
    return bus_.call(call, QDBus::BlockWithGui, 5000).type() == QDBusMessage::ReplyMessage;
}

std::shared_ptr<QDBusPendingCallWatcher> MprisClient::callAsync(const QString& method, const QVariantList& args) {
    const QString interface = method == "Raise" ? "org.mpris.MediaPlayer2" : kPlayer;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, interface, method);
    call.setArguments(args);
    return std::make_shared<QDBusPendingCallWatcher>(bus_.asyncCall(call, 5000));
}

void MprisClient::onPropertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList&) {
    if (interface != kPlayer) return;
    ++propertiesChanged_;
    const QVariantMap values = plain(changed);
    for (auto it = values.cbegin(); it != values.cend(); ++it) told_.insert(it.key(), it.value());
}

void MprisClient::onSeeked(qlonglong position) { seeked_.push_back(position); }

}  // namespace sorinel::testing
