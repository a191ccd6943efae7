// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/controls/portal_file_chooser.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDialog>
#include <QFile>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>

#include "window/media_target.h"

// The portal's filter list, a(sa(us)): a label and its rules, each rule a
// kind (0: glob pattern, 1: MIME type) and its text.
namespace sorinel::window::portal {
struct FilterRule {
    uint kind = 0;
    QString text;
};
struct Filter {
    QString label;
    QList<FilterRule> rules;
};
}  // namespace sorinel::window::portal
Q_DECLARE_METATYPE(sorinel::window::portal::FilterRule)
Q_DECLARE_METATYPE(sorinel::window::portal::Filter)

namespace sorinel::window {
namespace portal {

QDBusArgument& operator<<(QDBusArgument& out, const FilterRule& rule) {
    out.beginStructure();
    out << rule.kind << rule.text;
    out.endStructure();
    return out;
}
const QDBusArgument& operator>>(const QDBusArgument& in, FilterRule& rule) {
    in.beginStructure();
    in >> rule.kind >> rule.text;
    in.endStructure();
    return in;
}
QDBusArgument& operator<<(QDBusArgument& out, const Filter& filter) {
    out.beginStructure();
    out << filter.label << filter.rules;
    out.endStructure();
    return out;
}
const QDBusArgument& operator>>(const QDBusArgument& in, Filter& filter) {
    in.beginStructure();
    in >> filter.label >> filter.rules;
    in.endStructure();
    return in;
}

constexpr auto kService = "org.freedesktop.portal.Desktop";
constexpr auto kPath = "/org/freedesktop/portal/desktop";
constexpr auto kFileChooser = "org.freedesktop.portal.FileChooser";
constexpr auto kRequest = "org.freedesktop.portal.Request";
// Long enough for the portal to be started on demand on a busy session.
constexpr int kAnswerMs = 5000;

bool failedBefore = false;

// Where the portal will put the request: known before the call, so the
// answer cannot slip past between the reply and the subscription.
QString requestPath(const QDBusConnection& bus, const QString& token) {
    QString sender = bus.baseService();
    sender.remove(0, 1);  // the leading ':'
    sender.replace(u'.', u'_');
    return QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
}

// The portal names the parent window so the chooser stays above it; only
// X11 has a name a portal can use without more protocol.
QString parentWindowId(QWidget* parent) {
    if (!parent || QGuiApplication::platformName() != QLatin1String("xcb")) return {};
    return QStringLiteral("x11:%1").arg(parent->window()->winId(), 0, 16);
}

// Keeps the window behind it from taking input while the portal's chooser,
// another program's window, is up: an invisible modal dialog, as Qt's own
// native dialogs use.
class Waiter : public QDialog {
    Q_OBJECT
public:
    explicit Waiter(QWidget* parent) : QDialog(parent) {
        setAttribute(Qt::WA_DontShowOnScreen);
        setModal(true);
    }
    PortalOutcome outcome = PortalOutcome::Unavailable;
    QString chosen;

public slots:
    void onResponse(uint response, const QVariantMap& results) {
        if (response == 0) {
            const QStringList uris = results.value(QStringLiteral("uris")).toStringList();
            const auto path = uris.isEmpty() ? std::nullopt : localPathOfFileUri(uris.first());
            if (path) {
                chosen = QFile::decodeName(*path);
                outcome = PortalOutcome::Chosen;
            } else {
                outcome = PortalOutcome::Cancelled;
            }
        } else {
            outcome = PortalOutcome::Cancelled;  // 1: cancelled; 2: ended otherwise
        }
        done(0);
    }
};

}  // namespace portal

void retryPortalNextTime() { portal::failedBefore = false; }

PortalOutcome openWithPortal(const PortalRequest& request, QString* chosenPath) {
    using namespace portal;
    if (failedBefore) return PortalOutcome::Unavailable;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return PortalOutcome::Unavailable;
    qDBusRegisterMetaType<FilterRule>();
    qDBusRegisterMetaType<QList<FilterRule>>();
    qDBusRegisterMetaType<Filter>();
    qDBusRegisterMetaType<QList<Filter>>();

    static unsigned requests = 0;
    const QString token = QStringLiteral("sorinel%1").arg(++requests);
    Filter filter{request.filterName, {}};
    for (const QString& pattern : request.patterns) filter.rules.push_back({0, pattern});
    QVariantMap options{
        {QStringLiteral("handle_token"), token},
        {QStringLiteral("modal"), true},
        {QStringLiteral("multiple"), false},
        {QStringLiteral("directory"), false},
    };
    if (!filter.rules.isEmpty()) {
        options.insert(QStringLiteral("filters"), QVariant::fromValue(QList<Filter>{filter}));
        options.insert(QStringLiteral("current_filter"), QVariant::fromValue(filter));
    }
    // The folder goes as the file system's bytes, NUL-terminated.
    if (!request.folder.isEmpty())
        options.insert(QStringLiteral("current_folder"), QFile::encodeName(request.folder) + '\0');

    Waiter waiter(request.parent);
    QString subscribed = requestPath(bus, token);
    const auto subscribe = [&](const QString& path) {
        return bus.connect(QString(), path, QString::fromLatin1(kRequest), QStringLiteral("Response"), &waiter,
                           SLOT(onResponse(uint, QVariantMap)));
    };
    subscribe(subscribed);

    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                                                       QString::fromLatin1(kFileChooser), QStringLiteral("OpenFile"));
    call << parentWindowId(request.parent) << request.title << options;
    QDBusPendingCallWatcher watcher(bus.asyncCall(call, kAnswerMs));
    QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &waiter, [&] {
        const QDBusPendingReply<QDBusObjectPath> reply = watcher;
        if (reply.isError()) {
            // No portal, no chooser in it, or no answer: Qt's dialog instead.
            failedBefore = true;
            waiter.outcome = PortalOutcome::Unavailable;
            waiter.done(0);
            return;
        }
        // Portals before version 0.9 chose their own path.
        const QString path = reply.value().path();
        if (path != subscribed) {
            bus.disconnect(QString(), subscribed, QString::fromLatin1(kRequest), QStringLiteral("Response"), &waiter,
                           SLOT(onResponse(uint, QVariantMap)));
            subscribed = path;
            subscribe(subscribed);
        }
    });
    waiter.exec();
    bus.disconnect(QString(), subscribed, QString::fromLatin1(kRequest), QStringLiteral("Response"), &waiter,
                   SLOT(onResponse(uint, QVariantMap)));
    if (waiter.outcome == PortalOutcome::Chosen && chosenPath) *chosenPath = waiter.chosen;
    return waiter.outcome;
}

}  // namespace sorinel::window

#include "portal_file_chooser.moc"
