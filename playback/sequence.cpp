#include "playback/sequence.h"

#include <cmath>
#include <optional>
#include <string>

#include "playback/random_draw.h"
#include "playback/seconds_text.h"
#include "playback/wait_timer.h"
#include "playback/whole_seconds.h"

namespace sorinel::playback {

namespace {
constexpr std::int32_t kConfirmIntervalMs = 200;
constexpr std::int32_t kNextPlayWaitSeconds = 1;
constexpr std::int32_t kStartSkipWaitSeconds = 2;
constexpr std::int16_t kLeftButton = 1;
// The skip's resume may land short of the start value and skip again from
// inside the first skip; a player that always lands short would otherwise
// nest skips without end, each pausing for two seconds.
constexpr int kMaxNestedSkips = 3;
}  // namespace

PlaybackSequence::PlaybackSequence(const SequenceControls& controls)
    : c_(controls)
{
}

void PlaybackSequence::beginShutdown() { shuttingDown_ = true; }
void PlaybackSequence::endProgram()
{
    shuttingDown_ = true;
    ended_ = true;
}
bool PlaybackSequence::shuttingDown() const { return shuttingDown_; }
bool PlaybackSequence::ended() const { return ended_; }

bool PlaybackSequence::pumpOnce()
{
    c_.events.processPending();
    return !ended_;
}

double PlaybackSequence::WaitTimer(std::int32_t sc)
{
    try {
        return cooperativeWait(sc, c_.clock, c_.events, [this] { return ended_; });
    } catch (...) {
        return 0.0;
    }
}

// Every handler below runs from the event loop or nested inside a pumping
// point of another. A failing list or player call must not unwind through
// the caller's frames (which may be another handler half-way through its
// steps), so each handler ends silently at its first failure and keeps what
// it has already done.

void PlaybackSequence::NextPlay()
{
    if (ended_)
        return;
    try {
        advance();
    } catch (...) {
    }
}

void PlaybackSequence::advance()
{
    WaitTimer(kNextPlayWaitSeconds);
    if (ended_)
        return;
    // A nested NextPlay may have run inside the wait; from here on the steps
    // work on whatever state it left.
    c_.MediaPlayer1.stop();
    // The folder may have changed under `i`: only an entry that exists is
    // deselected.
    const std::int16_t countNow = c_.File1.listCount();
    if (i >= 0 && i < countNow)
        c_.File1.setSelected(i, false);
    // An empty URL tells a confirmation tick handled from here on that this
    // stop is ours and must not advance again.
    c_.MediaPlayer1.setUrl("");
    if (!pumpOnce())
        return;

    const auto highest = static_cast<std::int16_t>(c_.File1.listCount() - 1);
    if (!chooseNextIndex(highest))
        return;
    if (shuttingDown_)
        return;  // the window is closing: start no further file
    c_.File1.setSelected(i, true);  // raises Click, which plays the entry
}

bool PlaybackSequence::chooseNextIndex(std::int16_t highest)
{
    if (loopfl != 0) {
        // Repeat: the same index, if the list still holds it.
        return i >= 0 && i <= highest;
    }
    if (randfl == 0) {
        if (highest < 0)
            return false;  // empty list
        if (i < 0 || i > highest) {
            i = 0;  // stale index: go on from the top of the new list
        } else if (i == highest) {
            if (c_.listloop_chk.value() != 1)
                return false;  // end of the list without wrap; i stays
            i = 0;
        } else {
            i = static_cast<std::int16_t>(i + 1);
        }
        return true;
    }
    i = static_cast<std::int16_t>(drawRandomIndex(highest, c_.random, c_.clock));
    return i >= 0;
}

void PlaybackSequence::File1_Click()
{
    if (shuttingDown_)
        return;
    try {
        playSelectedEntry();
    } catch (...) {
    }
}

void PlaybackSequence::playSelectedEntry()
{
    const std::string name = c_.File1.fileName();
    if (name.empty())
        return;  // the Click of a deselection
    i = c_.File1.listIndex();
    c_.MediaPlayer1.setUrl(c_.File1.path() + "/" + name);
    pumpOnce();
}

void PlaybackSequence::Form_Activate()
{
    i = 0;
    loopfl = 0;
    randfl = 0;
}

void PlaybackSequence::MediaPlayer1_PlayStateChange(std::int32_t NewState)
{
    if (ended_)
        return;
    try {
        switch (NewState) {
        case PlayState::Stopped:
            if (nextfl == 1) {
                c_.Timer2.setInterval(kConfirmIntervalMs);
                nextfl = 0;
            }
            break;
        case PlayState::Transitioning:
            nextfl = 1;
            break;
        case PlayState::Playing:
            startHandling();
            break;
        default:
            break;
        }
    } catch (...) {
    }
}

void PlaybackSequence::startHandling()
{
    if (!pumpOnce())
        return;
    if (c_.full_chk.value() == 1) {
        c_.MediaPlayer1.setFullScreen(true);
        if (!pumpOnce())
            return;
    }
    const auto duration = roundToWholeSeconds(c_.MediaPlayer1.duration());
    const auto position = roundToWholeSeconds(c_.MediaPlayer1.currentPosition());
    if (!duration || !position)
        return;
    const auto startText = secondsFromText(c_.StartTime_txt.text());
    if (!startText)
        return;
    const auto start = roundToWholeSeconds(*startText);
    if (!start)
        return;
    // Strict on both sides: after the skip's own resume the position is at
    // the start value, so the nested playing report does not skip again.
    if (!(*start > *position))
        return;
    if (!(*start < *duration))
        return;
    if (skipsInProgress_ >= kMaxNestedSkips)
        return;
    ++skipsInProgress_;
    struct Leave {
        int& depth;
        ~Leave() { --depth; }
    } leave{skipsInProgress_};

    c_.MediaPlayer1.pause();
    if (!pumpOnce())
        return;
    WaitTimer(kStartSkipWaitSeconds);
    if (ended_)
        return;
    // The text is read again: the user may have changed it during the wait.
    // The position written keeps its fractions.
    const auto target = secondsFromText(c_.StartTime_txt.text());
    if (!target || !std::isfinite(*target))
        return;
    c_.MediaPlayer1.setCurrentPosition(*target);
    c_.MediaPlayer1.play();
    pumpOnce();
}

void PlaybackSequence::Timer1_Timer()
{
    if (ended_)
        return;
    try {
        endCutCheck();
    } catch (...) {
    }
}

void PlaybackSequence::endCutCheck()
{
    if (!pumpOnce())
        return;
    const auto cutText = secondsFromText(c_.EndTime_txt.text());
    if (!cutText)
        return;
    if (c_.MediaPlayer1.playState() != PlayState::Playing)
        return;  // a paused or stopped file is never cut
    const auto duration = roundToWholeSeconds(c_.MediaPlayer1.duration());
    const auto position = roundToWholeSeconds(c_.MediaPlayer1.currentPosition());
    const auto cut = roundToWholeSeconds(*cutText);
    // A value that does not fit 32 bits, or a difference that overflows:
    // no cut at this tick.
    if (!duration || !position || !cut)
        return;
    std::int32_t cutPoint = 0;
    if (__builtin_sub_overflow(*duration, *cut, &cutPoint))
        return;
    if (cutPoint < *position) {
        if (!pumpOnce())
            return;
        NextPlay();
    }
}

void PlaybackSequence::Timer2_Timer()
{
    if (ended_)
        return;
    try {
        if (c_.MediaPlayer1.playState() != PlayState::Stopped)
            return;  // keeps ticking
        c_.Timer2.setInterval(0);
        // An empty URL is NextPlay's own stop (or the end of the list):
        // that stop must not advance again.
        if (!c_.MediaPlayer1.url().empty())
            NextPlay();
    } catch (...) {
    }
}

void PlaybackSequence::MediaPlayer1_Click(std::int16_t nButton, std::int16_t /*nShiftState*/,
                                          float /*fX*/, float /*fY*/)
{
    if (ended_ || nButton != kLeftButton)
        return;
    try {
        const std::int32_t state = c_.MediaPlayer1.playState();
        if (state == PlayState::Playing)
            c_.MediaPlayer1.pause();
        else if (state == PlayState::Paused)
            c_.MediaPlayer1.play();
    } catch (...) {
    }
}

}  // namespace sorinel::playback
