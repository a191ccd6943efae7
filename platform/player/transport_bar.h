// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The player's own transport bar under the video: play/pause, stop, a seek
// bar, elapsed and total time, mute and volume. It only shows and asks; the
// player owns the state and keeps the bar up to date. Its controls are
// reached with Tab (not taken by a click), pressed with Space or Enter, moved
// with the arrow keys and named for a screen reader by what they do.

#include <QLabel>
#include <QWidget>

class QSlider;
class QToolButton;

namespace sorinel::platform {

// "m:ss" below an hour, "h:mm:ss" from an hour on; negative or unknown
// lengths show as 0:00.
QString formatPlayTime(double seconds);

// The bar's "position / duration". The position never reads past the
// duration. Where the bar has no room for both, the position shows alone, and
// where it has no room for that either, nothing: never a text cut short.
// text() is always the whole of it.
class PlayTimeLabel : public QLabel {
    Q_OBJECT
public:
    explicit PlayTimeLabel(QWidget* parent = nullptr);

    void setTimes(double position, double duration);
    // What the label draws at its present width.
    QString shownText() const;

    // Room for the whole text with the widest digits, so the bar does not
    // shift as the seconds tick; the seek bar gives way first.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString position_;
    QString duration_;
};

class TransportBar : public QWidget {
    Q_OBJECT
public:
    explicit TransportBar(QWidget* parent = nullptr);

    static constexpr int BarHeight = 30;

    void showPlaying(bool playing);
    void showTimes(double position, double duration);
    const PlayTimeLabel& timeLabel() const { return *time_; }
    void showMute(bool muted);
    void showVolume(int volume);
    // Only play/pause, stop and the time are shown: the bar is too narrow
    // for the rest.
    bool compact() const;

signals:
    void playPauseClicked();
    void stopClicked();
    void seekRequested(double seconds);
    void muteClicked();
    void volumeRequested(int volume);

private:
    QToolButton* playPause_;
    QToolButton* stop_;
    QSlider* seek_;
    PlayTimeLabel* time_;
    QToolButton* mute_;
    QSlider* volume_;
    bool playing_ = false;
    bool muted_ = false;

protected:
    void resizeEvent(QResizeEvent* event) override;
};

}  // namespace sorinel::platform
