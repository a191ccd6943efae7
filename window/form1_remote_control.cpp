// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/form1_remote_control.h"

#include "platform/failures.h"
#include "platform/shell/window_procedures.h"
#include "playback/ports.h"
#include "tray/tray_record.h"
#include "window/controls/file_name_text.h"
#include "window/form1.h"
#include "window/media_target.h"

namespace sorinel::window {

Form1RemoteControl::Form1RemoteControl(Form1& form) : form_(form) {
    connect(form_.MediaPlayer1, &platform::MediaPlayer::playStateChange, this, &Form1RemoteControl::changed);
    connect(&form_, &Form1::mediaUrlChanged, this, &Form1RemoteControl::changed);
}

// Opening a file counts as playing: auto-start is on, and a panel that showed
// "stopped" for the moment between two files would flicker at every change.
desktop::RemoteControlTarget::Status Form1RemoteControl::status() const {
    switch (form_.MediaPlayer1->playState()) {
    case playback::PlayState::Playing:
        return Status::Playing;
    case playback::PlayState::Transitioning:
        return form_.MediaPlayer1->url().isEmpty() ? Status::Stopped : Status::Playing;
    case playback::PlayState::Paused:
        return Status::Paused;
    default:
        return Status::Stopped;
    }
}

QString Form1RemoteControl::mediaPath() const { return form_.MediaPlayer1->url(); }
QByteArray Form1RemoteControl::mediaNativePath() const { return form_.MediaPlayer1->nativeUrl(); }

// Decoded as the list decodes the name: a CP932 name reads as Japanese.
QString Form1RemoteControl::mediaTitle() const {
    const QByteArray native = mediaNativePath();
    return shownFileName(native.mid(native.lastIndexOf('/') + 1));
}
double Form1RemoteControl::durationSeconds() const { return form_.MediaPlayer1->duration(); }
double Form1RemoteControl::positionSeconds() const { return form_.MediaPlayer1->currentPosition(); }
int Form1RemoteControl::volumePercent() const { return form_.MediaPlayer1->volume(); }

void Form1RemoteControl::setVolumePercent(int percent) {
    form_.MediaPlayer1->setVolume(percent);
    emit changed();
}

bool Form1RemoteControl::canPlay() const {
    return !form_.MediaPlayer1->url().isEmpty() || form_.File1->ListCount() > 0;
}

// Requests arrive from the event loop; once the window is closing they are
// too late to act on.

void Form1RemoteControl::play() {
    if (form_.ended() || form_.sequence().shuttingDown()) return;
    form_.MediaPlayer1->playByUser();
}

void Form1RemoteControl::pause() {
    if (form_.ended()) return;
    form_.MediaPlayer1->pause();
}

void Form1RemoteControl::stopByUser() {
    if (form_.ended()) return;
    form_.MediaPlayer1->stopByUser();
}

void Form1RemoteControl::next() {
    if (form_.ended()) return;
    form_.sequence().NextWanted();
}

void Form1RemoteControl::seekTo(double seconds) {
    if (form_.ended()) return;
    form_.MediaPlayer1->setCurrentPosition(seconds);
}

// Through the window's procedure, exactly as the tray icon's left click.
void Form1RemoteControl::raiseWindow() {
    if (form_.ended()) return;
    platform::SendMessageA(static_cast<std::int32_t>(form_.hWnd()), static_cast<std::int32_t>(tray::WM_TRAYCALLBACK),
                           static_cast<std::int32_t>(tray::kTrayIconId), platform::WM_LBUTTONDOWN);
}

namespace {
MediaTarget targetOfUri(const QString& uri) {
    const auto path = localPathOfFileUri(uri);
    if (!path) {
        MediaTarget refused;
        refused.refusal = QStringLiteral("only local files (file://) are opened");
        return refused;
    }
    return resolveMediaTarget(*path);
}
}  // namespace

QString Form1RemoteControl::refusalOfUri(const QString& uri) const {
    if (form_.ended() || form_.sequence().shuttingDown()) return QStringLiteral("the player is closing");
    return targetOfUri(uri).refusal;
}

// The window comes forward first, as a file opened from the file manager
// should: a window brought back from the tray is activated, which resets the
// play-list state, so the file is selected only after that, from the event
// loop.
void Form1RemoteControl::openUri(const QString& uri) {
    if (form_.ended()) return;
    const MediaTarget target = targetOfUri(uri);
    if (target.kind == MediaTarget::Kind::Refused) return;
    raiseWindow();
    QMetaObject::invokeMethod(
        this,
        [this, target] {
            if (form_.ended() || form_.sequence().shuttingDown()) return;
            // The file may have gone away meanwhile: the list shows what is there.
            platform::atEventLoopBoundary("opening from the bus",
                                          [&] { form_.openMedia(target.folder, target.fileName); });
        },
        Qt::QueuedConnection);
}

QStringList Form1RemoteControl::supportedUriSchemes() const { return {QStringLiteral("file")}; }
QStringList Form1RemoteControl::supportedMimeTypes() const { return mediaTargetMimeTypes(); }

}  // namespace sorinel::window
