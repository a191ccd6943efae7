// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/player/player_session.h"

#include "platform/engine/engine.h"
#include "platform/engine/engine_log.h"
#include "platform/engine/midi_synth.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>

#include <unistd.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <algorithm>
#include <cmath>
#include <utility>

namespace sorinel::platform {

namespace {

// How long an unloaded file is held, paused and out of sight, before the
// engine lets go of it. The play list unloads a file and sets the next one
// within the same pass of events; replacing the held file keeps the sound
// output open, while letting the engine go idle closes it, and a sound
// server that renders ahead while nothing plays (PulseAudio's null sink does
// two seconds) then holds the next file's sound, and with it the picture, for
// as long.
constexpr int ReleaseHeldFileMs = 1500;

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

}  // namespace

PlayerSession::PlayerSession()
    : machine_(
          [this](int s) {
              if (s == play_state::Playing) returnFreedMemory();
              emit stateReported(s);
          },
          [this](EngineRequest r) { apply(r); }) {
    releaseTimer_.setSingleShot(true);
    releaseTimer_.setInterval(ReleaseHeldFileMs);
    connect(&releaseTimer_, &QTimer::timeout, this, [this] {
        if (engine_) engine_->unload();
    });
    rewindTimer_.setSingleShot(true);
    rewindTimer_.setInterval(0);
    connect(&rewindTimer_, &QTimer::timeout, this, [this] {
        if (!std::exchange(rewindPending_, false)) return;
        if (machine_.loaded() && machine_.state() == play_state::Stopped) seekTo(0);
    });
}

PlayerSession::~PlayerSession() = default;

void PlayerSession::scheduleEngineStart() {
    if (engine_ || engineStartScheduled_) return;
    engineStartScheduled_ = true;
    QMetaObject::invokeMethod(this, &PlayerSession::startEngine, Qt::QueuedConnection);
}

void PlayerSession::startEngine() {
    if (engine_) return;
    engine_ = std::make_unique<Engine>();
    engine_->setStretchToFit(stretchToFit_);
    engine_->setVolume(volume_);
    engine_->setMute(mute_);
    engine_->setSpeed(rate_);
    engine_->setBalance(balance_);
    connectEngineEvents();
    emit engineStarted(*engine_);
}

void PlayerSession::connectEngineEvents() {
    Engine* e = engine_.get();
    connect(e, &Engine::fileStarted, this, [this](long long id) {
        traceStep("start-file");
        machine_.onFileStarted(id);
        // A play list (or a directory) behind a media name ends its own entry
        // and queues the files it names: the caller sees "stopped", so
        // nothing may go on sounding.
        if (machine_.isForeign(id)) engine_->unload();
    });
    connect(e, &Engine::fileLoaded, this, [this] {
        traceStep("file-loaded");
        machine_.onFileLoaded();
        if (machine_.loaded() && seekOnLoad_) {
            seekTo(*seekOnLoad_);
            seekOnLoad_.reset();
        }
        emit fileLoaded();
    });
    connect(e, &Engine::positionChanged, this, [this](double s) { position_ = s; });
    connect(e, &Engine::durationChanged, this, [this](double s) { length_ = s; });
    connect(e, &Engine::playbackRestarted, this, [this] {
        // The playing report below is where the play list reads both (the
        // start skip needs the length), and the engine's reports of them may
        // come just after this event. Asked here, once the first frame is
        // drawn, the engine answers at once.
        length_ = engine_->duration().value_or(length_);
        position_ = engine_->position().value_or(pendingSeek_.value_or(position_));
        traceStep("playback-restart");
        pendingSeek_.reset();
        machine_.onPlaybackRestarted(engine_->paused());
    });
    // A seek that ran into the end (or into a failure) never restarts
    // playback: the position is the engine's again from here on.
    connect(e, &Engine::fileEnded, this, [this](long long id) {
        pendingSeek_.reset();
        machine_.onFileEnded(id);
    });
    connect(e, &Engine::endReached, this, [this] {
        pendingSeek_.reset();
        machine_.onEndReached();
    });
    connect(e, &Engine::videoPresenceChanged, this, &PlayerSession::videoPresenceChanged);
    connect(e, &Engine::videoTrackChanged, this, &PlayerSession::videoTrackChanged);
}

void PlayerSession::setUrl(const QString& shown, const QByteArray& native) {
    traceStep("setUrl");
    ++generation_;
    url_ = shown;
    nativePath_ = native;
    pendingSeek_.reset();
    seekOnLoad_.reset();
    rewindPending_ = false;
    if (native.isEmpty()) {
        holdThenRelease();
        machine_.unload();
        return;
    }
    startEngine();
    startLoad(autoStart_);
}

void PlayerSession::startLoad(bool playWhenLoaded) {
    const quint64 mine = ++generation_;
    // Reported before anything else happens; the handler may set another
    // file from inside, which then wins.
    machine_.beginLoad(playWhenLoaded);
    if (generation_ != mine) return;
    position_ = length_ = 0;

    if (midi::isMidiFile(nativePath_)) {
        // The old file must not go on sounding while the music is prepared;
        // held rather than stopped, so that the sound output stays open.
        holdThenRelease();
        prepareMidi(mine);
        return;
    }
    if (Engine::opensAsPlayList(nativePath_)) {
        engine_->unload();  // reported stopped: nothing may go on sounding
        machine_.unload();
        return;
    }
    releaseTimer_.stop();
    const long long entry = engine_->load(nativePath_, machine_.wantsPlaying());
    traceStep("loadfile issued");
    machine_.loadIssued(entry);
}

void PlayerSession::prepareMidi(quint64 forGeneration) {
    const QByteArray path = nativePath_;
    QPointer<PlayerSession> guard(this);
    QThreadPool::globalInstance()->start([path, forGeneration, guard] {
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
            [guard, forGeneration, r] {
                if (!guard) {
                    if (r.fd >= 0) ::close(r.fd);
                    return;
                }
                guard->onMidiRendered(forGeneration, r);
            },
            Qt::QueuedConnection);
    });
}

void PlayerSession::onMidiRendered(quint64 forGeneration, const midi::Rendering& rendering) {
    if (forGeneration != generation_) {
        if (rendering.fd >= 0) ::close(rendering.fd);
        return;
    }
    if (rendering.fd < 0) {
        machine_.unload();
        return;
    }
    releaseTimer_.stop();
    machine_.loadIssued(engine_->loadDescriptor(rendering.fd, machine_.wantsPlaying()));
}

// Silent at once; the engine keeps the file until the next one replaces it,
// or lets it go a moment later when none follows.
void PlayerSession::holdThenRelease() {
    if (!engine_) return;
    engine_->setPaused(true);
    releaseTimer_.start();
}

void PlayerSession::apply(EngineRequest request) {
    switch (request) {
    case EngineRequest::None:
        break;
    case EngineRequest::Resume:
        engine_->setPaused(false);
        break;
    case EngineRequest::Pause:
        engine_->setPaused(true);
        break;
    case EngineRequest::RestartFromStart:
        seekTo(0);
        engine_->setPaused(false);
        break;
    case EngineRequest::PauseAtStart:
        engine_->setPaused(true);
        if (machine_.loaded()) rewindSoon();
        break;
    case EngineRequest::Reload:
        if (!url_.isEmpty()) startLoad(true);
        break;
    }
}

// A stopped file reads position 0 at once; the engine goes back there from
// the event loop, unless the file is unloaded, replaced, played or moved
// first. The play list stops a file and sets the next one in the same pass
// of events: the engine then neither draws a first frame nobody sees nor
// holds the next load back until that frame is drawn, which happens on this
// thread, blocked in the load (0.2 s, the engine's wait for a frame).
void PlayerSession::rewindSoon() {
    rewindPending_ = true;
    rewindTimer_.start();
}

void PlayerSession::seekTo(double seconds) {
    if (!std::isfinite(seconds)) return;
    rewindPending_ = false;
    seconds = std::max(0.0, seconds);
    if (!machine_.loaded()) {
        if (machine_.state() == play_state::Transitioning) seekOnLoad_ = seconds;
        return;
    }
    if (engine_->seek(seconds)) pendingSeek_ = seconds;
}

double PlayerSession::currentPosition() const {
    if (!machine_.loaded() || rewindPending_) return 0;
    if (pendingSeek_) return *pendingSeek_;
    return std::max(0.0, position_);
}

double PlayerSession::duration() const {
    if (!machine_.loaded()) return 0;
    return std::max(0.0, length_);
}

bool PlayerSession::showsVideo() const { return engine_ && engine_->showsVideo(); }

void PlayerSession::setVolume(int volume) {
    volume_ = std::clamp(volume, 0, 100);
    if (engine_) engine_->setVolume(volume_);
}

void PlayerSession::setMute(bool on) {
    mute_ = on;
    if (engine_) engine_->setMute(on);
}

void PlayerSession::setRate(double rate) {
    // The engine's speed range; zero or negative rates would stall the player.
    if (!std::isfinite(rate) || rate <= 0) return;
    rate_ = std::clamp(rate, 0.01, 100.0);
    if (engine_) engine_->setSpeed(rate_);
}

void PlayerSession::setBalance(int balance) {
    balance_ = std::clamp(balance, -100, 100);
    if (engine_) engine_->setBalance(balance_);
}

void PlayerSession::setStretchToFit(bool on) {
    stretchToFit_ = on;
    if (engine_) engine_->setStretchToFit(on);
}

}  // namespace sorinel::platform
