// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/mpris/mpris_adaptors.h"

#include "desktop/mpris/mpris_service.h"

namespace sorinel::desktop {

MprisRootAdaptor::MprisRootAdaptor(MprisService& service) : QDBusAbstractAdaptor(&service), service_(service) {}

QString MprisRootAdaptor::identity() const { return service_.identity(); }
QString MprisRootAdaptor::desktopEntry() const { return service_.desktopEntry(); }
void MprisRootAdaptor::Raise() { service_.requestRaise(); }
QStringList MprisRootAdaptor::supportedUriSchemes() const { return service_.supportedUriSchemes(); }
QStringList MprisRootAdaptor::supportedMimeTypes() const { return service_.supportedMimeTypes(); }

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisService& service) : QDBusAbstractAdaptor(&service), service_(service) {}

QString MprisPlayerAdaptor::playbackStatus() const { return service_.playbackStatus(); }
QVariantMap MprisPlayerAdaptor::metadata() const { return service_.metadata(); }
double MprisPlayerAdaptor::volume() const { return service_.volume(); }
void MprisPlayerAdaptor::setVolume(double volume) { service_.setVolume(volume); }
qlonglong MprisPlayerAdaptor::position() const { return service_.position(); }
bool MprisPlayerAdaptor::canPlay() const { return service_.canPlay(); }
bool MprisPlayerAdaptor::canPause() const { return service_.canPause(); }
bool MprisPlayerAdaptor::canSeek() const { return service_.canSeek(); }

void MprisPlayerAdaptor::Next() { service_.requestNext(); }
void MprisPlayerAdaptor::Pause() { service_.requestPause(); }
void MprisPlayerAdaptor::PlayPause() { service_.requestPlayPause(); }
void MprisPlayerAdaptor::Stop() { service_.requestStop(); }
void MprisPlayerAdaptor::Play() { service_.requestPlay(); }
void MprisPlayerAdaptor::Seek(qlonglong Offset) { service_.requestSeek(Offset); }
void MprisPlayerAdaptor::OpenUri(const QString& Uri, const QDBusMessage& message) {
    service_.requestOpenUri(Uri, message);
}
void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& TrackId, qlonglong Position) {
    service_.requestSetPosition(TrackId, Position);
}

}  // namespace sorinel::desktop
