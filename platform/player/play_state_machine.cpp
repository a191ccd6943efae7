// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/player/play_state_machine.h"

#include <algorithm>
#include <utility>

namespace sorinel::platform {

using namespace play_state;

PlayStateMachine::PlayStateMachine(Reporter report, Requester request)
    : report_(std::move(report)), request_(std::move(request)) {}

void PlayStateMachine::report(int newState, bool evenIfUnchanged) {
    if (newState == state_ && !evenIfUnchanged) return;
    ++reports_;
    state_ = newState;
    if (report_) report_(newState);
}

void PlayStateMachine::beginLoad(bool autoStart) {
    expected_ = EntryPending;
    loaded_ = false;
    wantPlaying_ = autoStart;
    heldState_ = Ready;
    // A new file always announces itself, even over one still loading: the
    // caller arms its advance on this report.
    report(Transitioning, true);
}

void PlayStateMachine::loadIssued(long long entryId) {
    if (expected_ != EntryPending) return;
    if (entryId < 0) {
        unload();
        return;
    }
    expected_ = entryId;
    lastIssued_ = std::max(lastIssued_, entryId);
}

void PlayStateMachine::unload() {
    expected_ = NoEntry;
    loaded_ = false;
    wantPlaying_ = false;
    report(Stopped);
}

void PlayStateMachine::play() {
    if (expected_ == NoEntry) {
        request(EngineRequest::Reload);
        return;
    }
    if (!loaded_) {
        // Still opening: it starts by itself once it runs.
        wantPlaying_ = true;
        heldState_ = Ready;
        request(EngineRequest::Resume);
        report(Transitioning);
        return;
    }
    const int before = state_;
    wantPlaying_ = true;
    if (before == Playing) return;
    request(before == Stopped ? EngineRequest::RestartFromStart : EngineRequest::Resume);
    if (before == Stopped) {
        // Started again from a stop, as a file newly set is: whoever arms an
        // advance on the transitioning report finds it here too.
        const unsigned long long reportsBefore = reports_;
        report(Transitioning, true);
        // Its handler may have stopped, paused or replaced the file already.
        if (reports_ != reportsBefore + 1) return;
    }
    // Every resume is announced, whatever came before it.
    report(Playing, true);
}

void PlayStateMachine::pause() {
    if (expected_ == NoEntry) return;
    wantPlaying_ = false;
    request(EngineRequest::Pause);
    if (!loaded_) {
        heldState_ = Paused;
        return;
    }
    // Loaded and still transitioning: opened but not yet running, or a play
    // from stopped whose "transitioning" handler pauses at once.
    if (state_ == Playing || state_ == Ready || state_ == Transitioning) report(Paused);
}

void PlayStateMachine::stop() {
    if (expected_ == NoEntry) {
        report(Stopped);
        return;
    }
    wantPlaying_ = false;
    heldState_ = Stopped;
    request(EngineRequest::PauseAtStart);
    report(Stopped);
}

void PlayStateMachine::onFileStarted(long long entryId) { mpvCurrent_ = entryId; }

void PlayStateMachine::onFileLoaded() {
    if (!currentIsExpected()) return;
    loaded_ = true;
    if (!wantPlaying_) report(heldState_);
}

void PlayStateMachine::onPlaybackRestarted(bool enginePaused) {
    // Also raised after every seek; only the first run after loading (or a
    // run after a request to play while loading) changes the state.
    if (!currentIsExpected() || !loaded_ || !wantPlaying_) return;
    // The engine holds a pause nobody asked for this file: one it put on the
    // file before at its end, carried over into this one. Lifted first, or
    // the file would sit on its first frame while reported as playing.
    if (enginePaused) request(EngineRequest::Resume);
    report(Playing);
}

void PlayStateMachine::onFileEnded(long long entryId) {
    if (entryId != expected_ || expected_ < 0) return;
    // The engine let go of the file the caller set (it failed to open or to
    // decode, or ended some other way): it is stopped, the url is kept and a
    // later play() opens it again.
    expected_ = NoEntry;
    loaded_ = false;
    wantPlaying_ = false;
    report(Stopped);
}

void PlayStateMachine::onEndReached() {
    if (!currentIsExpected() || !loaded_) return;
    wantPlaying_ = false;
    heldState_ = Stopped;
    report(Stopped);
}

}  // namespace sorinel::platform
