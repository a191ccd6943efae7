// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the desktop's media controls (media keys, a panel's player widget) may
// see of the program and ask of it. The main window implements it; the MPRIS
// service is its one user, and the tests drive the service through a fake.
//
// Everything runs on the GUI thread. The requests may pump events (an
// advance waits about a second while the window goes on working), so the
// service calls them from the event loop, never from inside a bus call.

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QString>
#include <QStringList>

namespace sorinel::desktop {

class RemoteControlTarget : public QObject {
    Q_OBJECT
public:
    enum class Status { Stopped, Paused, Playing };

    using QObject::QObject;

    virtual Status status() const = 0;
    // Full path of the loaded file; empty when nothing is loaded.
    virtual QString mediaPath() const = 0;
    // The same as the file system names it: bytes that need not be UTF-8.
    virtual QByteArray mediaNativePath() const { return QFile::encodeName(mediaPath()); }
    // The file's name as the window shows it to a person.
    virtual QString mediaTitle() const { return QFileInfo(mediaPath()).fileName(); }
    virtual double durationSeconds() const = 0;  // 0 while unknown
    virtual double positionSeconds() const = 0;
    virtual int volumePercent() const = 0;  // 0..100
    virtual void setVolumePercent(int percent) = 0;
    // Whether play() has anything to start: a loaded file or a list entry.
    virtual bool canPlay() const = 0;

    // Starts or resumes; with nothing loaded, plays the selected entry.
    virtual void play() = 0;
    virtual void pause() = 0;
    // A person's stop: the file stays loaded and the folder waits.
    virtual void stopByUser() = 0;
    // The advance that follows the end of a file, order options included.
    virtual void next() = 0;
    virtual void seekTo(double seconds) = 0;
    // Brings the window back as a click on the tray icon does.
    virtual void raiseWindow() = 0;

    // Opening from outside. Any program of the session may ask, so only what
    // a person could open from the window is taken. refusalOfUri() says why
    // uri cannot be opened, or nothing when it can; openUri() then opens it
    // (it may pump events). By default nothing is opened.
    virtual QString refusalOfUri(const QString& uri) const {
        Q_UNUSED(uri);
        return QStringLiteral("nothing is opened from outside");
    }
    virtual void openUri(const QString& uri) { Q_UNUSED(uri); }
    virtual QStringList supportedUriSchemes() const { return {}; }
    virtual QStringList supportedMimeTypes() const { return {}; }

signals:
    // Something a client may show has changed: the state, the file, its
    // length, the volume. Positions move on their own and are not reported.
    void changed();
};

}  // namespace sorinel::desktop
