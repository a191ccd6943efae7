// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window as the desktop's media controls see it: the player's state
// and file, and requests that go where a person's would (the play-list
// logic's advance, the list's selection, the tray's way back to the window).

#include "desktop/mpris/remote_control_target.h"

namespace sorinel::window {

class Form1;

class Form1RemoteControl final : public desktop::RemoteControlTarget {
    Q_OBJECT
public:
    // form must outlive this object.
    explicit Form1RemoteControl(Form1& form);

    Status status() const override;
    QString mediaPath() const override;
    QByteArray mediaNativePath() const override;
    QString mediaTitle() const override;
    double durationSeconds() const override;
    double positionSeconds() const override;
    int volumePercent() const override;
    void setVolumePercent(int percent) override;
    bool canPlay() const override;

    void play() override;
    void pause() override;
    void stopByUser() override;
    void next() override;
    void seekTo(double seconds) override;
    void raiseWindow() override;

    // file:// URIs of the fifteen kinds and of folders, opened as the
    // command line opens them.
    QString refusalOfUri(const QString& uri) const override;
    void openUri(const QString& uri) override;
    QStringList supportedUriSchemes() const override;
    QStringList supportedMimeTypes() const override;

private:
    Form1& form_;
};

}  // namespace sorinel::window
