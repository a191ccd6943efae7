// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/mpris/mpris_handover.h"

#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QThread>

#include <algorithm>

#include "desktop/mpris/mpris_service.h"

namespace sorinel::desktop {

namespace {

enum class Claim { Taken, Owned, NoAnswer };

// RequestName without queueing: a window that did not take the name keeps
// its player off the bus, so it must not inherit the name when the holder
// quits; files handed to it would find nobody to take them.
Claim requestName(QDBusConnection& bus, const QDeadlineTimer& deadline) {
    constexpr uint kDoNotQueue = 0x4, kPrimaryOwner = 1, kAlreadyOwner = 4;
    QDBusMessage request =
        QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                       QStringLiteral("org.freedesktop.DBus"), QStringLiteral("RequestName"));
    request << QString::fromLatin1(kHandoverName) << kDoNotQueue;
    const QDBusMessage reply = bus.call(request, QDBus::Block, std::max<int>(1, deadline.remainingTime()));
    if (reply.type() != QDBusMessage::ReplyMessage) return Claim::NoAnswer;
    const uint answer = reply.arguments().value(0).toUInt();
    return answer == kPrimaryOwner || answer == kAlreadyOwner ? Claim::Taken : Claim::Owned;
}

}  // namespace

HandOver claimNameOrHandOver(const QString& uri, int patienceMs, QDBusConnection bus) {
    if (!bus.isConnected()) return HandOver::NoPlayer;
    const QDeadlineTimer deadline(patienceMs);
    // The holder's player answers only once its window is up; until then Qt
    // says there is no such object. A holder that quit frees the name for
    // this start to take.
    constexpr int kRetryMs = 100;
    for (;;) {
        switch (requestName(bus, deadline)) {
        case Claim::Taken:
            return HandOver::Claimed;
        case Claim::NoAnswer:
            return HandOver::NoPlayer;
        case Claim::Owned:
            if (uri.isEmpty()) return HandOver::NoPlayer;
            break;
        }
        QDBusMessage open = QDBusMessage::createMethodCall(
            QString::fromLatin1(kHandoverName), QString::fromLatin1(MprisService::kObjectPath),
            QStringLiteral("org.mpris.MediaPlayer2.Player"), QStringLiteral("OpenUri"));
        open << uri;
        const QDBusMessage reply = bus.call(open, QDBus::Block, std::max<int>(1, deadline.remainingTime()));
        if (reply.type() == QDBusMessage::ReplyMessage) return HandOver::Done;
        if (reply.type() == QDBusMessage::ErrorMessage &&
            reply.errorName() == QLatin1String(MprisService::kOpenUriRefused))
            return HandOver::Refused;
        if (deadline.remainingTime() <= kRetryMs) return HandOver::NoPlayer;
        QThread::msleep(kRetryMs);
    }
}

}  // namespace sorinel::desktop
