// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The embedded media player: a video area drawn by mpv with the player's own
// transport bar (play/pause, stop, seek bar, time, mute, volume) beneath it.
//
// State numbers reported through playStateChange():
//   1 stopped, 2 paused, 3 playing, 9 transitioning, 10 ready (loaded, not
//   started because auto-start is off).
// What callers rely on:
//   - setUrl(path) reports 9 at once, then 3 once the file plays (auto-start
//     on). Replacing a playing file reports 9 then 3, never a 1 in between.
//   - A natural end reports 1; the file stays loaded, url() is unchanged and
//     duration() stays readable. play() then plays it again from the start.
//   - stop() reports 1 and keeps the file loaded at its start; play() then
//     reports 9 and 3, as a file newly set does.
//   - pause() reports 2; play() from paused reports 3.
//   - A person's stop (stopByUser(): the bar's stop button, the menu's stop)
//     is the same stop followed by stoppedByUser(); the program's own stop()
//     emits nothing more. A person's play (playByUser()) with no file set
//     emits playWantedWithoutMedia() and nothing else.
//   - setUrl("") unloads and leaves the state at 1.
//   - A file that cannot be opened or decoded reports 9 then 1 with url()
//     kept; no dialog is shown.
//   - Positions and durations are seconds from the file's own start.
// The engine is loaded after the window has first been drawn (or at the
// first setUrl, if that comes sooner); nothing of this contract depends on
// when. Everything here runs on the GUI thread; no mpv type leaves platform/.

#include <QByteArray>
#include <QRect>
#include <QString>
#include <QWidget>
#include <memory>

namespace sorinel::platform {

class MediaPlayer : public QWidget {
    Q_OBJECT
public:
    explicit MediaPlayer(QWidget* parent = nullptr);
    ~MediaPlayer() override;

    void setUrl(const QString& path);
    // The same for a file named as the file system holds it: bytes that need
    // not be UTF-8. url() then gives the name decoded for display.
    void setLocalPath(const QByteArray& path);
    QString url() const;
    // The path as it was handed over, in the file system's bytes.
    QByteArray nativeUrl() const;
    int playState() const;
    // The current file shows moving pictures (not sound alone, nor an
    // album's cover picture); asked of the engine now.
    bool showsVideo() const;

    void play();
    void pause();
    void stop();
    // What the transport bar and the context menu do for a person.
    void stopByUser();
    void playByUser();
    // The bar's play/pause button (and the Space key): pauses a playing
    // file, otherwise plays as playByUser().
    void playPauseByUser();

    double currentPosition() const;
    void setCurrentPosition(double seconds);
    double duration() const;

    // true puts the video on the whole screen; Esc or a double-click on the
    // video brings it back. false leaves full screen.
    void setFullScreen(bool on);
    bool fullScreen() const;

    // Settings.
    void setAutoStart(bool on);
    bool autoStart() const;
    void setVolume(int volume);  // 0..100
    int volume() const;
    void setMute(bool on);
    bool mute() const;
    void setRate(double rate);
    double rate() const;
    void setBalance(int balance);  // -100..100
    int balance() const;
    void setStretchToFit(bool on);
    bool stretchToFit() const;
    void setEnableContextMenu(bool on);
    bool enableContextMenu() const;
    void setUiMode(const QString& mode);  // "full": transport bar shown; "none": video only
    QString uiMode() const;

    // Where the window places the player, in device-independent pixels of the
    // parent. While full screen, the placement is remembered and applied when
    // full screen is left.
    void setPlacement(const QRect& rect);
    QRect placement() const;

signals:
    void playStateChange(int newState);
    // A mouse click on the video area: button 1 left, 2 right, 4 middle;
    // shift state 1 Shift, 2 Ctrl, 4 Alt; x, y in pixels of the video area.
    void click(int button, int shiftState, float x, float y);
    // After the stopped report of a person's stop.
    void stoppedByUser();
    // A person asked to play while no file is set.
    void playWantedWithoutMedia();
    // The current file turned out to show moving pictures, or not. Asked
    // afresh with showsVideo() as a file starts playing: the notice for a
    // new file may come after its playing report.
    void videoPresenceChanged(bool hasVideo);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    class Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace sorinel::platform
