#include "platform/play_state_machine.h"

#include <utility>

namespace sorinel::platform {

using namespace play_state;

PlayStateMachine::PlayStateMachine(Reporter report) : report_(std::move(report)) {}

void PlayStateMachine::report(int newState, bool evenIfUnchanged) {
    if (newState == state_ && !evenIfUnchanged) return;
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
        loadFailed();
        return;
    }
    expected_ = entryId;
}

void PlayStateMachine::loadFailed() {
    expected_ = NoEntry;
    loaded_ = false;
    wantPlaying_ = false;
    report(Stopped);
}

void PlayStateMachine::unload() {
    expected_ = NoEntry;
    loaded_ = false;
    wantPlaying_ = false;
    report(Stopped);
}

EngineRequest PlayStateMachine::play() {
    if (expected_ == NoEntry) return EngineRequest::Reload;
    if (!loaded_) {
        // Still opening: it starts by itself once it runs.
        wantPlaying_ = true;
        heldState_ = Ready;
        if (state_ != Transitioning) report(Transitioning);
        return EngineRequest::Resume;
    }
    const int before = state_;
    wantPlaying_ = true;
    if (before == Playing) return EngineRequest::None;
    // Every resume is announced, whatever came before it.
    report(Playing, true);
    return before == Stopped ? EngineRequest::RestartFromStart : EngineRequest::Resume;
}

EngineRequest PlayStateMachine::pause() {
    if (expected_ == NoEntry) return EngineRequest::None;
    wantPlaying_ = false;
    if (!loaded_) {
        heldState_ = Paused;
        return EngineRequest::Pause;
    }
    if (state_ == Playing || state_ == Ready) report(Paused);
    return EngineRequest::Pause;
}

EngineRequest PlayStateMachine::stop() {
    if (expected_ == NoEntry) {
        report(Stopped);
        return EngineRequest::None;
    }
    wantPlaying_ = false;
    heldState_ = Stopped;
    report(Stopped);
    return EngineRequest::PauseAtStart;
}

void PlayStateMachine::onFileStarted(long long entryId) { mpvCurrent_ = entryId; }

void PlayStateMachine::onFileLoaded() {
    if (!currentIsExpected()) return;
    loaded_ = true;
    if (!wantPlaying_) report(heldState_);
}

void PlayStateMachine::onPlaybackRestarted() {
    // Also raised after every seek; only the first run after loading (or a
    // run after a request to play while loading) changes the state.
    if (!currentIsExpected() || !loaded_ || !wantPlaying_) return;
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
