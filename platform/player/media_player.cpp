// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/player/media_player.h"

#include "platform/engine/engine.h"
#include "platform/player/full_screen_cover.h"
#include "platform/player/play_state_machine.h"
#include "platform/player/player_session.h"
#include "platform/player/transport_bar.h"
#include "platform/video/video_area.h"
#include "platform/video/video_output_choice.h"
#include "platform/video/video_window.h"

#include <QFile>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>

namespace sorinel::platform {

namespace {

// The bar shows the position a few times a second; finer is wasted work.
constexpr int BarRefreshMs = 250;

bool showsTransportBar(const QString& uiMode) {
    const QString m = uiMode.toLower();
    return m != "none" && m != "invisible";
}

}  // namespace

// What the player shows and what a person does to it; the playing itself is
// the session's.
class MediaPlayer::Impl : public QObject {
public:
    explicit Impl(MediaPlayer* owner);
    ~Impl() override;

    void onStateReported(int state);
    void attachVideo(Engine& engine);
    void applyLayout();
    void refreshBar();
    void showContextMenu(const QPoint& globalPos);
    void onVideoClicked(int button, int shift, float x, float y);

    MediaPlayer* q;
    PlayerSession session;
    VideoArea* video = nullptr;
    TransportBar* bar = nullptr;
    FullScreenCover* fullScreen = nullptr;
    QTimer barTimer;
    bool enableContextMenu = true;
    QString uiMode = "full";
};

MediaPlayer::Impl::Impl(MediaPlayer* owner) : q(owner) {
    video = new VideoArea(q);
    video->setObjectName(QStringLiteral("videoArea"));
    video->setAccessibleName(QStringLiteral("映像"));
    bar = new TransportBar(q);
    auto* column = new QVBoxLayout(q);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(video, 1);
    column->addWidget(bar);

    fullScreen = new FullScreenCover(q);
    connect(fullScreen, &FullScreenCover::activeChanged, this, [this](bool on) {
        applyLayout();
        if (on) video->setFocus();
    });

    connect(video, &VideoArea::clicked, this, &Impl::onVideoClicked);
    connect(video, &VideoArea::doubleClicked, this, [this] { fullScreen->setActive(false); });
    connect(video, &VideoArea::escapePressed, this, [this] { fullScreen->setActive(false); });

    connect(bar, &TransportBar::playPauseClicked, q, &MediaPlayer::playPauseByUser);
    connect(bar, &TransportBar::stopClicked, q, &MediaPlayer::stopByUser);
    connect(bar, &TransportBar::seekRequested, q, &MediaPlayer::setCurrentPosition);
    connect(bar, &TransportBar::muteClicked, this, [this] { q->setMute(!session.mute()); });
    connect(bar, &TransportBar::volumeRequested, q, &MediaPlayer::setVolume);

    connect(&session, &PlayerSession::stateReported, this, &Impl::onStateReported);
    connect(&session, &PlayerSession::engineStarted, this, &Impl::attachVideo);
    connect(&session, &PlayerSession::fileLoaded, this, &Impl::refreshBar);
    connect(&session, &PlayerSession::videoPresenceChanged, q, &MediaPlayer::videoPresenceChanged);
    connect(&session, &PlayerSession::videoTrackChanged, this, [this](bool selected) {
        if (VideoWindow* window = video->videoWindow()) window->setBlank(!selected);
    });

    barTimer.setInterval(BarRefreshMs);
    connect(&barTimer, &QTimer::timeout, this, &Impl::refreshBar);
}

MediaPlayer::Impl::~Impl() {
    // The video window's render context must go while the engine exists.
    if (VideoWindow* window = video->videoWindow()) window->detach();
}

void MediaPlayer::Impl::onStateReported(int s) {
    bar->showPlaying(s == play_state::Playing);
    // Only a playing file moves on by itself; every other change of
    // position (a seek, a load, a stop) refreshes the bar where it is
    // made. An idle window then wakes for nothing.
    if (s == play_state::Playing)
        barTimer.start();
    else
        barTimer.stop();
    refreshBar();
    emit q->playStateChange(s);
}

void MediaPlayer::Impl::attachVideo(Engine& engine) {
    const VideoOutput output = chooseVideoOutput();
    engine.setHardwareDecoding(output == VideoOutput::OpenGl);
    std::unique_ptr<VideoWindow> window = VideoWindow::create(output);
    if (!window->attach(engine) && output != VideoOutput::Software) {
        // A driver that cannot give the engine what it needs: the CPU can.
        window = VideoWindow::create(VideoOutput::Software);
        engine.setHardwareDecoding(false);
        window->attach(engine);
    }
    video->setVideoWindow(std::move(window));
}

void MediaPlayer::Impl::applyLayout() {
    bar->setVisible(!fullScreen->active() && showsTransportBar(uiMode));
    // A hidden bar is not kept up to date, and a paused file does not move
    // it on: it shows where the file stands as it comes back.
    refreshBar();
}

void MediaPlayer::Impl::refreshBar() {
    if (!bar->isVisible()) return;
    bar->showTimes(session.currentPosition(), session.duration());
}

void MediaPlayer::Impl::onVideoClicked(int button, int shift, float x, float y) {
    const QPoint global = video->mapToGlobal(QPoint(static_cast<int>(x), static_cast<int>(y)));
    emit q->click(button, shift, x, y);
    if (button == 2 && enableContextMenu) showContextMenu(global);
}

void MediaPlayer::Impl::showContextMenu(const QPoint& globalPos) {
    auto* menu = new QMenu(q);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const bool playing = session.state() == play_state::Playing;
    menu->addAction(playing ? "一時停止" : "再生", q, [this, playing] { playing ? q->pause() : q->playByUser(); });
    menu->addAction("停止", q, &MediaPlayer::stopByUser);
    menu->addSeparator();
    QAction* full = menu->addAction("全画面表示", q, [this] { fullScreen->setActive(!fullScreen->active()); });
    full->setCheckable(true);
    full->setChecked(fullScreen->active());
    QAction* muteAction = menu->addAction("ミュート", q, [this] { q->setMute(!session.mute()); });
    muteAction->setCheckable(true);
    muteAction->setChecked(session.mute());
    menu->popup(globalPos);
}

// ---------------------------------------------------------------------------

MediaPlayer::MediaPlayer(QWidget* parent) : QWidget(parent), d(std::make_unique<Impl>(this)) {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("メディアプレーヤー"));
}

MediaPlayer::~MediaPlayer() = default;

void MediaPlayer::setUrl(const QString& path) { setLocalPath(QFile::encodeName(path)); }
void MediaPlayer::setLocalPath(const QByteArray& path) {
    d->video->setVideoShown(!path.isEmpty());
    d->session.setUrl(QFile::decodeName(path), path);
}
QString MediaPlayer::url() const { return d->session.url(); }
QByteArray MediaPlayer::nativeUrl() const { return d->session.nativePath(); }
int MediaPlayer::playState() const { return d->session.state(); }
bool MediaPlayer::showsVideo() const { return d->session.showsVideo(); }

void MediaPlayer::play() {
    d->session.play();
    d->refreshBar();
}
void MediaPlayer::pause() {
    d->session.pause();
    d->refreshBar();
}
void MediaPlayer::stop() {
    d->session.stop();
    d->refreshBar();
}

void MediaPlayer::stopByUser() {
    QPointer<MediaPlayer> alive(this);
    stop();
    if (alive) emit stoppedByUser();
}

void MediaPlayer::playPauseByUser() {
    if (playState() == play_state::Playing)
        pause();
    else
        playByUser();
}

void MediaPlayer::playByUser() {
    if (url().isEmpty()) {
        emit playWantedWithoutMedia();
        return;
    }
    play();
}

void MediaPlayer::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    // The window is on screen now: the engine may follow.
    d->session.scheduleEngineStart();
}

double MediaPlayer::currentPosition() const { return d->session.currentPosition(); }

void MediaPlayer::setCurrentPosition(double seconds) {
    d->session.seekTo(seconds);
    d->refreshBar();
}

double MediaPlayer::duration() const { return d->session.duration(); }

void MediaPlayer::setFullScreen(bool on) { d->fullScreen->setActive(on); }
bool MediaPlayer::fullScreen() const { return d->fullScreen->active(); }

void MediaPlayer::setAutoStart(bool on) { d->session.setAutoStart(on); }
bool MediaPlayer::autoStart() const { return d->session.autoStart(); }

void MediaPlayer::setVolume(int volume) {
    d->session.setVolume(volume);
    d->bar->showVolume(d->session.volume());
}
int MediaPlayer::volume() const { return d->session.volume(); }

void MediaPlayer::setMute(bool on) {
    d->session.setMute(on);
    d->bar->showMute(on);
}
bool MediaPlayer::mute() const { return d->session.mute(); }

void MediaPlayer::setRate(double rate) { d->session.setRate(rate); }
double MediaPlayer::rate() const { return d->session.rate(); }

void MediaPlayer::setBalance(int balance) { d->session.setBalance(balance); }
int MediaPlayer::balance() const { return d->session.balance(); }

void MediaPlayer::setStretchToFit(bool on) { d->session.setStretchToFit(on); }
bool MediaPlayer::stretchToFit() const { return d->session.stretchToFit(); }

void MediaPlayer::setEnableContextMenu(bool on) { d->enableContextMenu = on; }
bool MediaPlayer::enableContextMenu() const { return d->enableContextMenu; }

void MediaPlayer::setUiMode(const QString& mode) {
    d->uiMode = mode;
    d->applyLayout();
}
QString MediaPlayer::uiMode() const { return d->uiMode; }

void MediaPlayer::setPlacement(const QRect& rect) { d->fullScreen->setPlacement(rect); }
QRect MediaPlayer::placement() const { return d->fullScreen->placement(); }

}  // namespace sorinel::platform
