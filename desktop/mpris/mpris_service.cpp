// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/mpris/mpris_service.h"

#include <QDBusMessage>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QUrl>

#include <algorithm>
#include <cmath>

#include "desktop/mpris/mpris_adaptors.h"
#include "platform/failures.h"

namespace sorinel::desktop {

namespace {

Q_LOGGING_CATEGORY(lcMpris, "sorinel.mpris", QtWarningMsg)

constexpr auto kIdentity = "Sorinel";
constexpr auto kPlayerInterface = "org.mpris.MediaPlayer2.Player";
constexpr auto kNoTrack = "/org/mpris/MediaPlayer2/TrackList/NoTrack";
// Track ids live under the program's own name: /org/mpris is reserved.
constexpr auto kTrackPathPrefix = "/io/github/sorinel/Sorinel/track/";

// How far the position may stray from where playing time alone would have
// taken it before it counts as a jump. A second leaves room for timer and
// engine jitter on a busy machine; any seek a person notices is longer.
constexpr double kJumpSeconds = 1.0;
constexpr int kPositionWatchMs = 1000;

qlonglong microseconds(double seconds) { return std::llround(seconds * 1e6); }

}  // namespace

MprisService::MprisService(RemoteControlTarget& target, QString desktopEntry, BusSource bus, QObject* parent)
    : QObject(parent), target_(target), desktopEntry_(std::move(desktopEntry)), busSource_(std::move(bus)) {
    new MprisRootAdaptor(*this);
    player_ = new MprisPlayerAdaptor(*this);
    positionWatch_.setInterval(kPositionWatchMs);
    connect(&positionWatch_, &QTimer::timeout, this, &MprisService::watchPosition);
}

MprisService::~MprisService() {
    if (!registered_) return;
    bus_->unregisterService(kServiceName);
    bus_->unregisterObject(kObjectPath);
}

bool MprisService::registerOnBus() {
    if (bus_) return registered_;  // one attempt: a name lost to another instance stays lost
    bus_ = busSource_();
    if (!bus_->isConnected()) {
        qCDebug(lcMpris) << "no session bus; running without media controls";
        return false;
    }
    if (!bus_->registerObject(kObjectPath, this, QDBusConnection::ExportAdaptors)) return false;
    if (!bus_->registerService(kServiceName)) {
        qCDebug(lcMpris) << kServiceName << "is taken; running without media controls";
        bus_->unregisterObject(kObjectPath);
        return false;
    }
    registered_ = true;
    connect(&target_, &RemoteControlTarget::changed, this, &MprisService::scheduleRefresh);
    refresh();
    return true;
}

QString MprisService::identity() const { return QString::fromLatin1(kIdentity); }

QString MprisService::playbackStatus() const {
    switch (target_.status()) {
    case RemoteControlTarget::Status::Playing:
        return QStringLiteral("Playing");
    case RemoteControlTarget::Status::Paused:
        return QStringLiteral("Paused");
    case RemoteControlTarget::Status::Stopped:
        break;
    }
    return QStringLiteral("Stopped");
}

QDBusObjectPath MprisService::currentTrackId() const {
    syncTrack();
    if (trackPath_.isEmpty()) return QDBusObjectPath(QString::fromLatin1(kNoTrack));
    return QDBusObjectPath(QString::fromLatin1(kTrackPathPrefix) + QString::number(trackNumber_));
}

namespace {
// A file URL of the path's own bytes, so that a name that is not UTF-8 still
// leads a client to the file. Encoded as QUrl encodes a local file's path.
QString fileUrl(const QByteArray& nativePath) {
    return QStringLiteral("file://") + QString::fromLatin1(nativePath.toPercentEncoding("/!$&'()*+,;=:@"));
}
}  // namespace

QVariantMap MprisService::metadata() const {
    QVariantMap m;
    m.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(currentTrackId()));  // syncs the track
    if (trackPath_.isEmpty()) return m;
    const double length = target_.durationSeconds();
    if (length > 0) m.insert(QStringLiteral("mpris:length"), microseconds(length));
    m.insert(QStringLiteral("xesam:title"), target_.mediaTitle());
    m.insert(QStringLiteral("xesam:url"), fileUrl(target_.mediaNativePath()));
    return m;
}

double MprisService::volume() const { return target_.volumePercent() / 100.0; }

void MprisService::setVolume(double volume) {
    if (!std::isfinite(volume)) return;
    // Above 1.0 would amplify, which the player does not do.
    target_.setVolumePercent(static_cast<int>(std::lround(std::clamp(volume, 0.0, 1.0) * 100)));
    scheduleRefresh();
}

qlonglong MprisService::position() const { return microseconds(target_.positionSeconds()); }

bool MprisService::canPlay() const { return target_.canPlay(); }
bool MprisService::canPause() const { return !target_.mediaPath().isEmpty(); }
bool MprisService::canSeek() const { return !target_.mediaPath().isEmpty() && target_.durationSeconds() > 0; }

void MprisService::requestRaise() {
    later([this] { target_.raiseWindow(); });
}

void MprisService::requestPlay() {
    later([this] {
        if (target_.status() != RemoteControlTarget::Status::Playing) target_.play();
    });
}

void MprisService::requestPause() {
    later([this] {
        if (target_.status() == RemoteControlTarget::Status::Playing) target_.pause();
    });
}

void MprisService::requestPlayPause() {
    later([this] {
        if (target_.status() == RemoteControlTarget::Status::Playing)
            target_.pause();
        else
            target_.play();
    });
}

void MprisService::requestStop() {
    later([this] {
        if (target_.status() != RemoteControlTarget::Status::Stopped) target_.stopByUser();
    });
}

void MprisService::requestNext() {
    later([this] { target_.next(); });
}

void MprisService::requestSeek(qlonglong offsetMicroseconds) {
    later([this, offsetMicroseconds] {
        if (!canSeek()) return;
        const double wanted = target_.positionSeconds() + offsetMicroseconds / 1e6;
        // Past the end the track is over: go on as at its end.
        if (wanted > target_.durationSeconds())
            target_.next();
        else
            seekTo(std::max(0.0, wanted));
    });
}

void MprisService::requestSetPosition(const QDBusObjectPath& trackId, qlonglong positionMicroseconds) {
    // A request made for a track that has since gone is stale: ignored.
    if (trackId != currentTrackId()) return;
    later([this, trackId, positionMicroseconds] {
        if (trackId != currentTrackId() || !canSeek()) return;
        const double wanted = positionMicroseconds / 1e6;
        if (wanted < 0 || wanted > target_.durationSeconds()) return;
        seekTo(wanted);
    });
}

void MprisService::requestOpenUri(const QString& uri, const QDBusMessage& call) {
    const QString refusal = target_.refusalOfUri(uri);
    if (!refusal.isEmpty()) {
        call.setDelayedReply(true);
        if (bus_)
            bus_->send(call.createErrorReply(QString::fromLatin1(kOpenUriRefused),
                                             QStringLiteral("%1: %2").arg(uri, refusal)));
        return;
    }
    later([this, uri] { target_.openUri(uri); });
}

// The bus call has returned (and its reply is on its way) before action runs:
// the target may pump events, even wait a second, which must not happen
// inside Qt's delivery of the call.
void MprisService::later(std::function<void()> action) {
    QMetaObject::invokeMethod(
        this,
        [action = std::move(action)] {
            // A request from outside that fails leaves the player as it was.
            platform::atEventLoopBoundary("media controls request", action);
        },
        Qt::QueuedConnection);
}

// Several reports in a row (a stop, an unload, the next file) make one
// PropertiesChanged when the event loop comes round.
void MprisService::scheduleRefresh() {
    if (refreshPending_ || !registered_) return;
    refreshPending_ = true;
    QMetaObject::invokeMethod(this, &MprisService::refresh, Qt::QueuedConnection);
}

void MprisService::syncTrack() const {
    const QString path = target_.mediaPath();
    if (path == trackPath_) return;
    trackPath_ = path;
    if (!path.isEmpty()) ++trackNumber_;
}

void MprisService::refresh() {
    refreshPending_ = false;
    syncTrack();

    const QVariantMap now{
        {QStringLiteral("PlaybackStatus"), playbackStatus()},
        {QStringLiteral("Metadata"), metadata()},
        {QStringLiteral("Volume"), volume()},
        {QStringLiteral("CanPlay"), canPlay()},
        {QStringLiteral("CanPause"), canPause()},
        {QStringLiteral("CanSeek"), canSeek()},
    };
    QVariantMap differing;
    for (auto it = now.cbegin(); it != now.cend(); ++it)
        if (toldPlayer_.value(it.key()) != it.value()) differing.insert(it.key(), it.value());
    const bool firstRefresh = toldPlayer_.isEmpty();
    toldPlayer_ = now;
    watchPosition();
    if (firstRefresh || differing.isEmpty()) return;

    // Qt's adaptors do not announce property changes themselves.
    QDBusMessage signal =
        QDBusMessage::createSignal(QString::fromLatin1(kObjectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
                                   QStringLiteral("PropertiesChanged"));
    signal << QString::fromLatin1(kPlayerInterface) << differing << QStringList();
    bus_->send(signal);
}

void MprisService::seekTo(double seconds) {
    target_.seekTo(seconds);
    emitSeeked(target_.positionSeconds());
}

// Compares the position with where playing time alone would have taken it
// since the last look; a difference is a seek nobody told the service about.
void MprisService::watchPosition() {
    syncTrack();
    const bool playing = target_.status() == RemoteControlTarget::Status::Playing;
    const double actual = target_.positionSeconds();
    const double expected = baselinePosition_ + (baselinePlaying_ ? sinceBaseline_.elapsed() / 1000.0 : 0.0);
    if (baselineTrack_ == trackNumber_ && !trackPath_.isEmpty() && std::abs(actual - expected) > kJumpSeconds)
        emitSeeked(actual);
    else
        resetPositionBaseline(actual, playing);

    if (!playing)
        positionWatch_.stop();
    else if (!positionWatch_.isActive())
        positionWatch_.start();
}

void MprisService::resetPositionBaseline(double position, bool playing) {
    baselinePosition_ = position;
    baselinePlaying_ = playing;
    baselineTrack_ = trackNumber_;
    sinceBaseline_.restart();
}

void MprisService::emitSeeked(double seconds) {
    resetPositionBaseline(seconds, target_.status() == RemoteControlTarget::Status::Playing);
    if (registered_) emit player_->Seeked(microseconds(seconds));
}

}  // namespace sorinel::desktop
