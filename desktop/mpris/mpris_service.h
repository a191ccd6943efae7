// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program as an MPRIS 2 player on the session bus, so that media keys and
// the desktop's media controls reach it: org.mpris.MediaPlayer2.sorinel with
// the object /org/mpris/MediaPlayer2 serving org.mpris.MediaPlayer2 and
// org.mpris.MediaPlayer2.Player (the two adaptors of mpris_adaptors.h).
//
// Contract:
//   - registerOnBus() takes the name once. No bus, or the name already owned
//     (a second instance): the service stays off the bus for good and the
//     program runs as without it; nothing is printed beyond debug output.
//   - Every request that comes over the bus is answered first and carried out
//     afterwards from the event loop: the target's requests may pump events
//     (an advance waits about a second) and must not run inside a bus call.
//   - After the target reports changed(), PropertiesChanged carries every
//     property whose value a client would now read differently. Position is
//     never in it; Seeked reports a jump instead: one the service made
//     itself at once, any other (the start skip, the transport bar) within a
//     second while playing, or at the next change of state.

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <QVariantMap>

#include <functional>
#include <optional>

#include "desktop/mpris/remote_control_target.h"

namespace sorinel::desktop {

class MprisPlayerAdaptor;

class MprisService : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kServiceName = "org.mpris.MediaPlayer2.sorinel";
    static constexpr const char* kObjectPath = "/org/mpris/MediaPlayer2";
    static constexpr const char* kOpenUriRefused = "io.github.sorinel.Sorinel.Error.NotOpened";

    using BusSource = std::function<QDBusConnection()>;

    // The bus is asked for only by registerOnBus(). desktopEntry is the
    // desktop entry's id (the file name without .desktop).
    MprisService(RemoteControlTarget& target, QString desktopEntry, BusSource bus = &QDBusConnection::sessionBus,
                 QObject* parent = nullptr);
    ~MprisService() override;

    // True when the name is ours.
    bool registerOnBus();
    bool registered() const { return registered_; }

    // What the adaptors serve, in the units and types of the interface.
    QString identity() const;
    QString desktopEntry() const { return desktopEntry_; }
    QString playbackStatus() const;
    QVariantMap metadata() const;
    double volume() const;  // 0.0..1.0
    void setVolume(double volume);
    qlonglong position() const;  // microseconds
    bool canPlay() const;
    bool canPause() const;
    bool canSeek() const;

    // Requests from the bus; each replies at once and acts from the event loop.
    void requestRaise();
    void requestPlay();
    void requestPause();
    void requestPlayPause();
    void requestStop();
    void requestNext();
    void requestSeek(qlonglong offsetMicroseconds);
    void requestSetPosition(const QDBusObjectPath& trackId, qlonglong positionMicroseconds);
    // A refused URI is answered with kOpenUriRefused at once and opens
    // nothing; an accepted one is opened from the event loop.
    void requestOpenUri(const QString& uri, const QDBusMessage& call);
    QStringList supportedUriSchemes() const { return target_.supportedUriSchemes(); }
    QStringList supportedMimeTypes() const { return target_.supportedMimeTypes(); }

    // The object path of the track a client sees; NoTrack when none.
    QDBusObjectPath currentTrackId() const;

private:
    void later(std::function<void()> action);
    void scheduleRefresh();
    void refresh();
    void seekTo(double seconds);
    // Follows the target's file: a new path is a new track.
    void syncTrack() const;
    void watchPosition();
    void resetPositionBaseline(double position, bool playing);
    void emitSeeked(double seconds);

    RemoteControlTarget& target_;
    QString desktopEntry_;
    BusSource busSource_;
    std::optional<QDBusConnection> bus_;
    MprisPlayerAdaptor* player_ = nullptr;
    bool registered_ = false;
    bool refreshPending_ = false;

    // The values clients have been told, to send only what changed.
    QVariantMap toldPlayer_;
    // The track clients are told about. The same file played again after an
    // unload (repeat) is a new track. Followed also on reads, so a Get
    // between a change and its refresh sees id and file agree.
    mutable QString trackPath_;
    mutable qulonglong trackNumber_ = 0;

    // Where the position should be if nobody moved it.
    QTimer positionWatch_;
    QElapsedTimer sinceBaseline_;
    double baselinePosition_ = 0;
    bool baselinePlaying_ = false;
    qulonglong baselineTrack_ = 0;
};

}  // namespace sorinel::desktop
