// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The player without its widget: one file at a time through the engine, the
// state numbers worked out from what the engine reports, MIDI prepared on a
// worker, seeks the engine has not carried out yet, and the settings, kept
// here until the engine is there to take them. MediaPlayer shows it and takes
// a person's clicks; the contract in media_player.h is kept here.

#include "platform/player/play_state_machine.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <optional>

namespace sorinel::platform {

class Engine;
namespace midi {
struct Rendering;
}

class PlayerSession : public QObject {
    Q_OBJECT
public:
    PlayerSession();
    ~PlayerSession() override;

    // The engine is made at the first setUrl, or from the event loop after
    // scheduleEngineStart() (once the window is on screen: loading it takes
    // longer than showing the window).
    void scheduleEngineStart();
    void startEngine();

    void setUrl(const QString& shown, const QByteArray& native);
    const QString& url() const { return url_; }
    const QByteArray& nativePath() const { return nativePath_; }
    int state() const { return machine_.state(); }

    void play() { machine_.play(); }
    void pause() { machine_.pause(); }
    void stop() { machine_.stop(); }

    double currentPosition() const;
    double duration() const;
    void seekTo(double seconds);
    // Asked of the engine now; false before it is there.
    bool showsVideo() const;

    void setAutoStart(bool on) { autoStart_ = on; }
    bool autoStart() const { return autoStart_; }
    void setVolume(int volume);  // 0..100
    int volume() const { return volume_; }
    void setMute(bool on);
    bool mute() const { return mute_; }
    void setRate(double rate);
    double rate() const { return rate_; }
    void setBalance(int balance);  // -100..100
    int balance() const { return balance_; }
    void setStretchToFit(bool on);
    bool stretchToFit() const { return stretchToFit_; }

signals:
    // A new state number (see media_player.h). The handler may set another
    // file from inside.
    void stateReported(int state);
    // The engine is there: the moment to give it a window to draw into.
    void engineStarted(Engine& engine);
    // A file's length and position became readable.
    void fileLoaded();
    void videoPresenceChanged(bool hasVideo);
    void videoTrackChanged(bool selected);

private:
    void connectEngineEvents();
    void startLoad(bool playWhenLoaded);
    void prepareMidi(quint64 forGeneration);
    void onMidiRendered(quint64 forGeneration, const midi::Rendering& rendering);
    void apply(EngineRequest request);
    void holdThenRelease();
    void rewindSoon();

    std::unique_ptr<Engine> engine_;
    bool engineStartScheduled_ = false;
    PlayStateMachine machine_;
    QTimer releaseTimer_;  // see ReleaseHeldFileMs
    QTimer rewindTimer_;   // see rewindSoon
    bool rewindPending_ = false;

    QString url_;
    QByteArray nativePath_;  // url_ as the file system names it
    // Raised by every setUrl and load: a MIDI rendering that finishes for an
    // older generation is thrown away.
    quint64 generation_ = 0;
    // A seek not yet carried out by the engine; positions read meanwhile
    // report the target rather than where the old position happened to be.
    std::optional<double> pendingSeek_;
    std::optional<double> seekOnLoad_;
    // The engine's position and duration as it last reported them.
    double position_ = 0;
    double length_ = 0;

    bool autoStart_ = true;
    int volume_ = 100;
    bool mute_ = false;
    double rate_ = 1.0;
    int balance_ = 0;
    bool stretchToFit_ = true;
};

}  // namespace sorinel::platform
