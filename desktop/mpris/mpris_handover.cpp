#include "desktop/mpris/mpris_handover.h"

#include <QDBusMessage>

#include "desktop/mpris/mpris_service.h"

namespace sorinel::platform {

HandOver handOverToRunningPlayer(const QString& uri, int timeoutMs, QDBusConnection bus) {
    if (!bus.isConnected()) return HandOver::NoPlayer;
    QDBusMessage owned =
        QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                       QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
    owned << QString::fromLatin1(MprisService::kServiceName);
    const QDBusMessage ownedReply = bus.call(owned, QDBus::Block, timeoutMs);
    if (ownedReply.type() != QDBusMessage::ReplyMessage || ownedReply.arguments().value(0).toBool() == false)
        return HandOver::NoPlayer;

    QDBusMessage open = QDBusMessage::createMethodCall(
        QString::fromLatin1(MprisService::kServiceName), QString::fromLatin1(MprisService::kObjectPath),
        QStringLiteral("org.mpris.MediaPlayer2.Player"), QStringLiteral("OpenUri"));
    open << uri;
    const QDBusMessage reply = bus.call(open, QDBus::Block, timeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage) return HandOver::Done;
    if (reply.type() == QDBusMessage::ErrorMessage && reply.errorName() == QLatin1String(MprisService::kOpenUriRefused))
        return HandOver::Refused;
    return HandOver::NoPlayer;
}

}  // namespace sorinel::platform
