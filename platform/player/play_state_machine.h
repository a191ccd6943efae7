// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The player's state numbers, worked out from the requests the player makes
// of the engine and the engine's events about its play-list entries. Knows
// nothing of mpv or Qt, so its rules can be tested without either.
//
// Engine events carry the entry they belong to; events of an entry that has
// since been replaced or unloaded are stale and change nothing. Events
// without an entry (loaded, restarted, end reached) belong to the entry the
// engine started last.

#include <functional>

namespace sorinel::platform {

namespace play_state {
inline constexpr int Stopped = 1;
inline constexpr int Paused = 2;
inline constexpr int Playing = 3;
inline constexpr int Transitioning = 9;
inline constexpr int Ready = 10;
}  // namespace play_state

// What the engine must be told for play(), pause() or stop().
enum class EngineRequest {
    None,
    Resume,            // unpause where it stands
    Pause,             // pause where it stands
    RestartFromStart,  // seek to 0, then unpause
    PauseAtStart,      // pause, then seek to 0
    Reload,            // nothing is loaded: open the current file again
};

class PlayStateMachine {
public:
    using Reporter = std::function<void(int newState)>;
    using Requester = std::function<void(EngineRequest)>;
    // play(), pause() and stop() hand their request to the engine before
    // they report the new state: the report's handler may itself move the
    // position, and must find the engine already where the request put it.
    PlayStateMachine(Reporter report, Requester request);

    int state() const { return state_; }
    bool loaded() const { return loaded_; }
    // Whether the caller wants the current file to run: the engine's pause
    // must be set from this once a load has been handed over, since the
    // engine keeps its pause across files.
    bool wantsPlaying() const { return wantPlaying_; }

    // A new file was asked for: reports 9 at once. The engine entry follows
    // with loadIssued() (possibly later, when the file needs preparing).
    void beginLoad(bool autoStart);
    void loadIssued(long long entryId);
    // Nothing is loaded any more: the current file is unloaded on request,
    // or it could not be handed to the engine at all.
    void unload();

    void play();
    void pause();
    void stop();

    // True for an entry the caller never asked for: one the engine made up
    // by expanding a play list or a directory, which must not play on its own.
    // Entry ids only grow, so anything above the last one asked for is the
    // engine's own; lower ones are merely stale (a file replaced before its
    // start was seen) and must not stop the file that replaced them.
    bool isForeign(long long entryId) const { return entryId > lastIssued_; }

    void onFileStarted(long long entryId);
    void onFileLoaded();
    // enginePaused: the engine's own pause as it stands now. A file that
    // runs when the caller wants it to is reported playing only once the
    // engine is not paused, so that "playing" always means a moving position.
    void onPlaybackRestarted(bool enginePaused);
    void onFileEnded(long long entryId);
    void onEndReached();

private:
    static constexpr long long NoEntry = -1;
    static constexpr long long EntryPending = -2;

    bool currentIsExpected() const { return expected_ >= 0 && mpvCurrent_ == expected_; }
    void report(int newState, bool evenIfUnchanged = false);

    void request(EngineRequest r) {
        if (request_ && r != EngineRequest::None) request_(r);
    }

    Reporter report_;
    Requester request_;
    int state_ = play_state::Stopped;
    long long expected_ = NoEntry;    // the entry of the file the caller set
    long long mpvCurrent_ = NoEntry;  // the entry the engine started last
    long long lastIssued_ = 0;        // the highest entry ever handed to the engine
    bool loaded_ = false;
    bool wantPlaying_ = false;
    int heldState_ = play_state::Ready;  // shown once loaded when not playing
    unsigned long long reports_ = 0;     // counts reports, to see one made inside another
};

}  // namespace sorinel::platform
