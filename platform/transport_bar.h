#pragma once
// The player's own transport bar under the video: play/pause, stop, a seek
// bar, elapsed and total time, mute and volume. It only shows and asks; the
// player owns the state and keeps the bar up to date.

#include <QWidget>

class QLabel;
class QSlider;
class QToolButton;

namespace sorinel::platform {

// "m:ss" below an hour, "h:mm:ss" from an hour on; negative or unknown
// lengths show as 0:00.
QString formatPlayTime(double seconds);

class TransportBar : public QWidget {
    Q_OBJECT
public:
    explicit TransportBar(QWidget* parent = nullptr);

    static constexpr int BarHeight = 30;

    void showPlaying(bool playing);
    void showTimes(double position, double duration);
    void showMute(bool muted);
    void showVolume(int volume);

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
    QLabel* time_;
    QToolButton* mute_;
    QSlider* volume_;
    bool playing_ = false;
    bool muted_ = false;
};

}  // namespace sorinel::platform
