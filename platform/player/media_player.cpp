// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/player/media_player.h"

#include "platform/engine/engine_log.h"
#include "platform/player/full_screen_cover.h"
#include "platform/engine/midi_synth.h"
#include "platform/engine/mpv_events.h"
#include "platform/engine/mpv_handle.h"
#include "platform/player/play_state_machine.h"
#include "desktop/screensaver/screen_saver_inhibitor.h"
#include "desktop/screensaver/video_playback_hold.h"
#include "platform/player/transport_bar.h"
#include "platform/video/video_area.h"
#include "platform/video/video_output_choice.h"
#include "platform/video/video_window.h"

#include <QCoreApplication>
#include <QFile>
#include <QMenu>
#include <QPointer>
#include <QThreadPool>
#include <QTimer>
#include <QVBoxLayout>

#include <sys/stat.h>
#include <unistd.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>
#include <utility>

namespace sorinel::platform {

namespace {

// The bar shows the position a few times a second; finer is wasted work.
constexpr int BarRefreshMs = 250;

// How long an unloaded file is held, paused and out of sight, before the
// engine lets go of it. The play list unloads a file and sets the next one
// within the same pass of events; replacing the held file keeps the sound
// output open, while letting the engine go idle closes it, and a sound
// server that renders ahead while nothing plays (PulseAudio's null sink does
// two seconds) then holds the next file's sound, and with it the picture, for
// as long.
constexpr int ReleaseHeldFileMs = 1500;

bool showsTransportBar(const QString& uiMode) {
    const QString m = uiMode.toLower();
    return m != "none" && m != "invisible";
}

// mpv takes a bare path starting with "-" or holding "scheme://" as an
// option or a URL; an absolute path is always taken as a file. Bytes, so that
// a name that is not UTF-8 reaches the file system unchanged.
QByteArray engineTarget(const QByteArray& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path.toStdString(), error);
    return error ? path : QByteArray::fromStdString(absolute.native());
}

bool isDirectory(const QByteArray& path) {
    struct stat st {};
    return ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The engine's decoder and demuxer threads each allocate from a heap of
// their own, and what a finished file frees there stays with the process:
// over hundreds of files the resident size would ratchet up. Handed back
// once the next file plays, when the last one has been let go; on a worker,
// as going through the heaps takes long enough to delay a first frame.
void returnFreedMemory() {
#ifdef __GLIBC__
    QThreadPool::globalInstance()->start([] { malloc_trim(0); });
#endif
}

// Balance as a filter chain: the far side is attenuated, the near side kept.
QString balanceFilter(int balance) {
    if (balance == 0) return {};
    const double left = balance > 0 ? 1.0 - balance / 100.0 : 1.0;
    const double right = balance < 0 ? 1.0 + balance / 100.0 : 1.0;
    return QString("lavfi=[aformat=channel_layouts=stereo,pan=stereo|c0=%1*c0|c1=%2*c1]")
        .arg(left, 0, 'f', 3)
        .arg(right, 0, 'f', 3);
}

}  // namespace

class MediaPlayer::Impl : public QObject {
public:
    explicit Impl(MediaPlayer* owner);
    ~Impl() override;

    // The engine and its video window are made once the window has been
    // drawn for the first time (loading them takes longer than showing the
    // window), or when a file is set before that.
    void scheduleEngineStart();
    void startEngine();
    void connectEngineEvents();

    void setUrl(const QString& shown, const QByteArray& native);
    void startLoad(bool playWhenLoaded);
    void onMidiRendered(quint64 generation, midi::Rendering rendering);
    void applyWantedPause();
    void holdThenRelease();
    void apply(EngineRequest request);
    void rewindSoon();
    void seekTo(double seconds);

    void applyLayout();
    void refreshBar();
    void showContextMenu(const QPoint& globalPos);
    void onVideoClicked(int button, int shift, float x, float y);

    MediaPlayer* q;
    // Both null until startEngine(); every engine call goes through them.
    std::unique_ptr<MpvHandle> mpv;
    std::unique_ptr<MpvEventPump> pump;
    bool engineStartScheduled = false;
    // Before the state machine: its first report may already reach the hold.
    std::unique_ptr<ScreenSaverInhibitor> screenSaver;
    VideoPlaybackHold screenSaverHold;
    PlayStateMachine machine;
    VideoArea* video = nullptr;
    TransportBar* bar = nullptr;
    FullScreenCover* fullScreen = nullptr;
    QTimer barTimer;
    QTimer releaseTimer;  // see ReleaseHeldFileMs
    QTimer rewindTimer;   // see rewindSoon
    bool rewindPending = false;

    QString url;
    QByteArray nativePath;  // url as the file system names it
    // Raised by every setUrl: a MIDI rendering that finishes for an older
    // generation is thrown away.
    quint64 generation = 0;
    // A seek not yet carried out by the engine; positions read meanwhile
    // report the target rather than where the old position happened to be.
    std::optional<double> pendingSeek;
    std::optional<double> seekOnLoad;
    // The engine's position and duration as it last reported them.
    double position = 0;
    double length = 0;

    bool autoStart = true;
    int volume = 100;
    bool mute = false;
    double rate = 1.0;
    int balance = 0;
    bool stretchToFit = true;
    bool enableContextMenu = true;
    QString uiMode = "full";
};

MediaPlayer::Impl::Impl(MediaPlayer* owner)
    : q(owner),
      screenSaver(makeScreenSaverInhibitor(QCoreApplication::applicationName())),
      screenSaverHold(*screenSaver),
      machine(
          [this](int s) {
              bar->showPlaying(s == play_state::Playing);
              // Only a playing file moves on by itself; every other change of
              // position (a seek, a load, a stop) refreshes the bar where it is
              // made. An idle window then wakes for nothing.
              if (s == play_state::Playing)
                  barTimer.start();
              else
                  barTimer.stop();
              refreshBar();
              // Asked afresh as playing starts: a change notice for the new file
              // may still be queued behind this report. Updated before the
              // report, whose handler may already load the next file.
              if (s == play_state::Playing && mpv) screenSaverHold.onVideoPresenceChanged(currentFileShowsVideo(*mpv));
              if (s == play_state::Playing) returnFreedMemory();
              screenSaverHold.onPlayStateChanged(s);
              emit q->playStateChange(s);
          },
          [this](EngineRequest r) { apply(r); }) {
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
    connect(bar, &TransportBar::muteClicked, this, [this] { q->setMute(!mute); });
    connect(bar, &TransportBar::volumeRequested, q, &MediaPlayer::setVolume);

    barTimer.setInterval(BarRefreshMs);
    connect(&barTimer, &QTimer::timeout, this, &Impl::refreshBar);
    releaseTimer.setSingleShot(true);
    releaseTimer.setInterval(ReleaseHeldFileMs);
    connect(&releaseTimer, &QTimer::timeout, this, [this] {
        if (mpv) mpv->command({"stop"});
    });
    rewindTimer.setSingleShot(true);
    rewindTimer.setInterval(0);
    connect(&rewindTimer, &QTimer::timeout, this, [this] {
        if (!std::exchange(rewindPending, false)) return;
        if (machine.loaded() && machine.state() == play_state::Stopped) seekTo(0);
    });
}

MediaPlayer::Impl::~Impl() {
    // The video window's render context must go while the engine exists.
    if (VideoWindow* window = video->videoWindow()) window->detach();
    pump.reset();
    mpv.reset();
}

void MediaPlayer::Impl::scheduleEngineStart() {
    if (mpv || engineStartScheduled) return;
    engineStartScheduled = true;
    QMetaObject::invokeMethod(this, &Impl::startEngine, Qt::QueuedConnection);
}

void MediaPlayer::Impl::startEngine() {
    if (mpv) return;
    const VideoOutput output = chooseVideoOutput();
    mpv = std::make_unique<MpvHandle>();
    // Hardware decoding only where the video is drawn by the GPU; without
    // one, probing for it costs time and prints the drivers' complaints.
    mpv->setString("hwdec", output == VideoOutput::OpenGl ? "auto-safe" : "no");
    mpv->setString("video-unscaled", stretchToFit ? "no" : "downscale-big");
    mpv->setDouble("volume", volume);
    mpv->setFlag("mute", mute);
    mpv->setDouble("speed", rate);
    mpv->setString("af", balanceFilter(balance));
    pump = std::make_unique<MpvEventPump>(*mpv);
    connectEngineEvents();

    std::unique_ptr<VideoWindow> window = VideoWindow::create(output);
    if (!window->attach(*mpv) && output != VideoOutput::Software) {
        // A driver that cannot give the engine what it needs: the CPU can.
        window = VideoWindow::create(VideoOutput::Software);
        mpv->setString("hwdec", "no");
        window->attach(*mpv);
    }
    video->setVideoWindow(std::move(window));
}

void MediaPlayer::Impl::connectEngineEvents() {
    connect(pump.get(), &MpvEventPump::fileStarted, this, [this](long long id) {
        traceStep("start-file");
        machine.onFileStarted(id);
        // A play list (or a directory) behind a media name ends its own entry
        // and queues the files it names: the caller sees "stopped", so
        // nothing may go on sounding.
        if (machine.isForeign(id)) mpv->command({"stop"});
    });
    connect(pump.get(), &MpvEventPump::fileLoaded, this, [this] {
        traceStep("file-loaded");
        machine.onFileLoaded();
        if (machine.loaded() && seekOnLoad) {
            seekTo(*seekOnLoad);
            seekOnLoad.reset();
        }
        refreshBar();
    });
    connect(pump.get(), &MpvEventPump::positionChanged, this, [this](double s) { position = s; });
    connect(pump.get(), &MpvEventPump::durationChanged, this, [this](double s) { length = s; });
    connect(pump.get(), &MpvEventPump::playbackRestarted, this, [this] {
        // The playing report below is where the play list reads both (the
        // start skip needs the length), and the engine's reports of them may
        // come just after this event. Asked here, once the first frame is
        // drawn, the engine answers at once.
        length = mpv->getDouble("duration").value_or(length);
        position = mpv->getDouble("time-pos").value_or(pendingSeek.value_or(position));
        traceStep("playback-restart");
        pendingSeek.reset();
        machine.onPlaybackRestarted(mpv->getFlag("pause").value_or(false));
    });
    // A seek that ran into the end (or into a failure) never restarts
    // playback: the position is the engine's again from here on.
    connect(pump.get(), &MpvEventPump::fileEnded, this, [this](long long id) {
        pendingSeek.reset();
        machine.onFileEnded(id);
    });
    connect(pump.get(), &MpvEventPump::videoPresenceChanged, this,
            [this](bool hasVideo) { screenSaverHold.onVideoPresenceChanged(hasVideo); });
    connect(pump.get(), &MpvEventPump::videoTrackChanged, this, [this](bool selected) {
        if (VideoWindow* window = video->videoWindow()) window->setBlank(!selected);
    });
    connect(pump.get(), &MpvEventPump::eofReachedChanged, this, [this](bool reached) {
        if (!reached) return;
        pendingSeek.reset();
        machine.onEndReached();
    });
}

void MediaPlayer::Impl::setUrl(const QString& shown, const QByteArray& native) {
    traceStep("setUrl");
    ++generation;
    url = shown;
    nativePath = native;
    pendingSeek.reset();
    seekOnLoad.reset();
    rewindPending = false;
    video->setVideoShown(!native.isEmpty());
    if (native.isEmpty()) {
        holdThenRelease();
        machine.unload();
        return;
    }
    startEngine();
    startLoad(autoStart);
}

void MediaPlayer::Impl::startLoad(bool playWhenLoaded) {
    const quint64 mine = ++generation;
    // Reported before anything else happens; the handler may set another
    // file from inside, which then wins.
    machine.beginLoad(playWhenLoaded);
    if (generation != mine) return;
    position = length = 0;

    if (midi::isMidiFile(nativePath)) {
        // The old file must not go on sounding while the music is prepared;
        // held rather than stopped, so that the sound output stays open.
        holdThenRelease();
        const QByteArray path = nativePath;
        QPointer<MediaPlayer> guard(q);
        QThreadPool::globalInstance()->start([path, mine, guard] {
            const midi::Rendering r = midi::renderToMemoryWav(path, midi::findSoundFont());
            // Finished on the GUI thread; the player may be gone by then, and
            // at exit even the application.
            QCoreApplication* app = QCoreApplication::instance();
            if (!app) {
                if (r.fd >= 0) ::close(r.fd);
                return;
            }
            QMetaObject::invokeMethod(
                app,
                [guard, mine, r] {
                    if (!guard) {
                        if (r.fd >= 0) ::close(r.fd);
                        return;
                    }
                    guard->d->onMidiRendered(mine, r);
                },
                Qt::QueuedConnection);
        });
        return;
    }
    // mpv would open a directory as a play list of its files.
    if (isDirectory(nativePath)) {
        mpv->command({"stop"});  // reported stopped: nothing may go on sounding
        machine.unload();
        return;
    }
    releaseTimer.stop();
    const long long entry = mpv->loadFile(engineTarget(nativePath));
    traceStep("loadfile issued");
    applyWantedPause();
    machine.loadIssued(entry);
}

// The engine's pause is its own, not the file's: a file that reached its end
// is paused there by the engine (keep-open), and a pause cleared before the
// next load could be put back by the engine before the load is seen, so the
// new file would open paused. Set only once the load has been handed over,
// when the old file no longer runs into its end.
void MediaPlayer::Impl::applyWantedPause() { mpv->setFlag("pause", !machine.wantsPlaying()); }

// Silent at once; the engine keeps the file until the next one replaces it,
// or lets it go a moment later when none follows.
void MediaPlayer::Impl::holdThenRelease() {
    if (!mpv) return;
    mpv->setFlag("pause", true);
    releaseTimer.start();
}

void MediaPlayer::Impl::onMidiRendered(quint64 forGeneration, midi::Rendering rendering) {
    if (forGeneration != generation) {
        if (rendering.fd >= 0) ::close(rendering.fd);
        return;
    }
    if (rendering.fd < 0) {
        machine.unload();
        return;
    }
    releaseTimer.stop();
    // fdclose: mpv owns the descriptor from here and closes it with the file.
    const long long id = mpv->loadFile(QString("fdclose://%1").arg(rendering.fd));
    if (id < 0) ::close(rendering.fd);
    applyWantedPause();
    machine.loadIssued(id);
}

void MediaPlayer::Impl::apply(EngineRequest request) {
    switch (request) {
    case EngineRequest::None:
        break;
    case EngineRequest::Resume:
        mpv->setFlag("pause", false);
        break;
    case EngineRequest::Pause:
        mpv->setFlag("pause", true);
        break;
    case EngineRequest::RestartFromStart:
        seekTo(0);
        mpv->setFlag("pause", false);
        break;
    case EngineRequest::PauseAtStart:
        mpv->setFlag("pause", true);
        if (machine.loaded()) rewindSoon();
        break;
    case EngineRequest::Reload:
        if (!url.isEmpty()) startLoad(true);
        break;
    }
}

// A stopped file reads position 0 at once; the engine goes back there from
// the event loop, unless the file is unloaded, replaced, played or moved
// first. The play list stops a file and sets the next one in the same pass
// of events: the engine then neither draws a first frame nobody sees nor
// holds the next load back until that frame is drawn, which happens on this
// thread, blocked in the load (0.2 s, the engine's wait for a frame).
void MediaPlayer::Impl::rewindSoon() {
    rewindPending = true;
    rewindTimer.start();
}

void MediaPlayer::Impl::seekTo(double seconds) {
    if (!std::isfinite(seconds)) return;
    rewindPending = false;
    seconds = std::max(0.0, seconds);
    if (!machine.loaded()) {
        if (machine.state() == play_state::Transitioning) seekOnLoad = seconds;
        return;
    }
    // Absolute seeks are exact in mpv by default, not snapped to key frames.
    if (mpv->command({"seek", QString::number(seconds, 'f', 3), "absolute"}) >= 0) pendingSeek = seconds;
}

void MediaPlayer::Impl::applyLayout() {
    bar->setVisible(!fullScreen->active() && showsTransportBar(uiMode));
    // A hidden bar is not kept up to date, and a paused file does not move
    // it on: it shows where the file stands as it comes back.
    refreshBar();
}

void MediaPlayer::Impl::refreshBar() {
    if (!bar->isVisible()) return;
    bar->showTimes(q->currentPosition(), q->duration());
}

void MediaPlayer::Impl::onVideoClicked(int button, int shift, float x, float y) {
    const QPoint global = video->mapToGlobal(QPoint(static_cast<int>(x), static_cast<int>(y)));
    emit q->click(button, shift, x, y);
    if (button == 2 && enableContextMenu) showContextMenu(global);
}

void MediaPlayer::Impl::showContextMenu(const QPoint& globalPos) {
    auto* menu = new QMenu(q);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const bool playing = machine.state() == play_state::Playing;
    menu->addAction(playing ? "一時停止" : "再生", q, [this, playing] { playing ? q->pause() : q->playByUser(); });
    menu->addAction("停止", q, &MediaPlayer::stopByUser);
    menu->addSeparator();
    QAction* full = menu->addAction("全画面表示", q, [this] { fullScreen->setActive(!fullScreen->active()); });
    full->setCheckable(true);
    full->setChecked(fullScreen->active());
    QAction* muteAction = menu->addAction("ミュート", q, [this] { q->setMute(!mute); });
    muteAction->setCheckable(true);
    muteAction->setChecked(mute);
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

void MediaPlayer::setUrl(const QString& path) { d->setUrl(path, QFile::encodeName(path)); }
void MediaPlayer::setLocalPath(const QByteArray& path) { d->setUrl(QFile::decodeName(path), path); }
QString MediaPlayer::url() const { return d->url; }
QByteArray MediaPlayer::nativeUrl() const { return d->nativePath; }
int MediaPlayer::playState() const { return d->machine.state(); }

void MediaPlayer::play() {
    d->machine.play();
    d->refreshBar();
}
void MediaPlayer::pause() {
    d->machine.pause();
    d->refreshBar();
}
void MediaPlayer::stop() {
    d->machine.stop();
    d->refreshBar();
}

void MediaPlayer::stopByUser() {
    QPointer<MediaPlayer> alive(this);
    stop();
    if (alive) emit stoppedByUser();
}

void MediaPlayer::playPauseByUser() {
    if (d->machine.state() == play_state::Playing)
        pause();
    else
        playByUser();
}

void MediaPlayer::playByUser() {
    if (d->url.isEmpty()) {
        emit playWantedWithoutMedia();
        return;
    }
    play();
}

void MediaPlayer::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    // The window is on screen now: the engine may follow.
    d->scheduleEngineStart();
}

double MediaPlayer::currentPosition() const {
    if (!d->machine.loaded() || d->rewindPending) return 0;
    if (d->pendingSeek) return *d->pendingSeek;
    return std::max(0.0, d->position);
}

void MediaPlayer::setCurrentPosition(double seconds) {
    d->seekTo(seconds);
    d->refreshBar();
}

double MediaPlayer::duration() const {
    if (!d->machine.loaded()) return 0;
    return std::max(0.0, d->length);
}

void MediaPlayer::setFullScreen(bool on) { d->fullScreen->setActive(on); }
bool MediaPlayer::fullScreen() const { return d->fullScreen->active(); }

void MediaPlayer::setAutoStart(bool on) { d->autoStart = on; }
bool MediaPlayer::autoStart() const { return d->autoStart; }

void MediaPlayer::setVolume(int volume) {
    d->volume = std::clamp(volume, 0, 100);
    if (d->mpv) d->mpv->setDouble("volume", d->volume);
    d->bar->showVolume(d->volume);
}
int MediaPlayer::volume() const { return d->volume; }

void MediaPlayer::setMute(bool on) {
    d->mute = on;
    if (d->mpv) d->mpv->setFlag("mute", on);
    d->bar->showMute(on);
}
bool MediaPlayer::mute() const { return d->mute; }

void MediaPlayer::setRate(double rate) {
    // mpv's speed range; zero or negative rates would stall the player.
    if (!std::isfinite(rate) || rate <= 0) return;
    d->rate = std::clamp(rate, 0.01, 100.0);
    if (d->mpv) d->mpv->setDouble("speed", d->rate);
}
double MediaPlayer::rate() const { return d->rate; }

void MediaPlayer::setBalance(int balance) {
    d->balance = std::clamp(balance, -100, 100);
    if (d->mpv) d->mpv->setString("af", balanceFilter(d->balance));
}
int MediaPlayer::balance() const { return d->balance; }

void MediaPlayer::setStretchToFit(bool on) {
    // Either way the picture keeps its shape: stretched to fit it grows with
    // the area, otherwise it keeps its own size unless that does not fit.
    d->stretchToFit = on;
    if (d->mpv) d->mpv->setString("video-unscaled", on ? "no" : "downscale-big");
}
bool MediaPlayer::stretchToFit() const { return d->stretchToFit; }

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
