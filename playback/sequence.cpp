// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/sequence.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "playback/failure_stop.h"
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

// Counts a handler's frame on the stack for as long as it runs.
class OnStack {
public:
    explicit OnStack(int& depth) : depth_(depth) { ++depth_; }
    ~OnStack() { --depth_; }
    OnStack(const OnStack&) = delete;
    OnStack& operator=(const OnStack&) = delete;

private:
    int& depth_;
};

// An advance that a press of Next started and that has yet to choose its
// next file, entered with the count of takeovers as it began: while nothing
// has overtaken it, a press adds a step rather than starting an advance of
// its own. Such advances nest strictly, so each leaves from the top. Presses
// counted for one that was overtaken are dropped when another begins, and
// with the last one to leave.
class BeforeChoice {
public:
    BeforeChoice(std::vector<unsigned>& waiting, int& extraSteps, unsigned takeovers)
        : waiting_(waiting), extraSteps_(extraSteps)
    {
        extraSteps_ = 0;
        waiting_.push_back(takeovers);
    }
    ~BeforeChoice() { leave(); }
    BeforeChoice(const BeforeChoice&) = delete;
    BeforeChoice& operator=(const BeforeChoice&) = delete;
    void leave()
    {
        if (!std::exchange(held_, false))
            return;
        waiting_.pop_back();
        if (waiting_.empty())
            extraSteps_ = 0;
    }

private:
    std::vector<unsigned>& waiting_;
    int& extraSteps_;
    bool held_ = true;
};
}  // namespace

PlaybackSequence::PlaybackSequence(const SequenceControls& controls) : c_(controls) {}

void PlaybackSequence::beginShutdown()
{
    shuttingDown_ = true;
}
void PlaybackSequence::endProgram()
{
    shuttingDown_ = true;
    ended_ = true;
}
bool PlaybackSequence::shuttingDown() const
{
    return shuttingDown_;
}
bool PlaybackSequence::ended() const
{
    return ended_;
}

bool PlaybackSequence::pumpOnce()
{
    c_.events.processPending();
    return !ended_;
}

double PlaybackSequence::WaitTimer(std::int32_t sc)
{
    double waited = 0.0;
    stopFailure("WaitTimer", [&] { waited = cooperativeWait(sc, c_.clock, c_.events, [this] { return ended_; }); });
    return waited;
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
    const OnStack onStack(advancesInProgress_);
    stopFailure("NextPlay", [&] { advance(); });
}

void PlaybackSequence::advance()
{
    const unsigned takeoversBefore = takeovers_;
    std::optional<BeforeChoice> beforeChoice;
    if (std::exchange(startedByNext_, false))
        beforeChoice.emplace(nextAdvancesWaiting_, extraSteps_, takeoversBefore);
    WaitTimer(kNextPlayWaitSeconds);
    if (ended_)
        return;
    // Inside the wait a nested advance or a click on the list may have
    // started another file, or a person may have stopped playback. Going on
    // would stop that file and pass on to the one after it, or override the
    // person: this advance has been overtaken and ends here.
    if (takeovers_ != takeoversBefore)
        return;
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
    if (takeovers_ != takeoversBefore)
        return;  // a click at the pumping point started a file: it stands

    const auto highest = static_cast<std::int16_t>(c_.File1.listCount() - 1);
    // The presses counted while an advance Next started waits belong to the
    // advance that chooses first: that one itself, or one nested in its wait
    // (the file's end, or its end cut) whose file is about to overtake it.
    // The end and the first press ask for the same move.
    const int steps = 1 + (nextPressesCount() ? std::exchange(extraSteps_, 0) : 0);
    if (beforeChoice)
        beforeChoice->leave();
    for (int step = 0; step < steps; ++step) {
        if (!chooseNextIndex(highest))
            return;
    }
    if (shuttingDown_)
        return;  // the window is closing: start no further file
    selectToPlay(i);
}

void PlaybackSequence::selectToPlay(std::int16_t index)
{
    // Selecting an entry that is still selected is no change and raises no
    // Click: after activation has reset i, or when a re-read kept the playing
    // file selected, the entry chosen may be the selected one. Taking the
    // selection away first makes the chosen entry play in every case (the
    // Click of the deselection finds no file name and does nothing).
    if (c_.File1.listIndex() == index)
        c_.File1.setSelected(index, false);
    c_.File1.setSelected(index, true);  // raises Click, which plays the entry
}

bool PlaybackSequence::chooseNextIndex(std::int16_t highest)
{
    if (randfl != 0 && loopfl == 0) {
        currentGone_ = false;
        i = static_cast<std::int16_t>(drawRandomIndex(highest, c_.random, c_.clock));
        return i >= 0;
    }
    if (loopfl != 0 && !currentGone_) {
        // Repeat: the same index, if the list still holds it.
        return i >= 0 && i <= highest;
    }
    // i stands just before the entry that followed a file now gone: list
    // order leads on from there, also in repeat order, which has nothing
    // left to repeat. At the end of the list i stays where it stands.
    const bool moved = chooseInListOrder(highest);
    if (moved)
        currentGone_ = false;
    return moved;
}

bool PlaybackSequence::chooseInListOrder(std::int16_t highest)
{
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

void PlaybackSequence::File1_Click()
{
    if (shuttingDown_)
        return;
    stopFailure("File1_Click", [&] { playSelectedEntry(); });
}

void PlaybackSequence::playSelectedEntry()
{
    const std::string name = c_.File1.fileName();
    if (name.empty())
        return;  // the Click of a deselection
    i = c_.File1.listIndex();
    currentGone_ = false;
    ++takeovers_;
    c_.MediaPlayer1.setUrl(c_.File1.path() + "/" + name);
    pumpOnce();
}

// Bringing the window back changes what a person sees, never what plays: i
// stays on the entry that plays (or played last), and the order follows the
// boxes as they show.
void PlaybackSequence::Form_Activate()
{
    stopFailure("Form_Activate", [&] {
        loopfl = static_cast<std::int16_t>(c_.loop_chk.value() != 0 ? 1 : 0);
        randfl = static_cast<std::int16_t>(c_.randam_chk.value() != 0 ? 1 : 0);
    });
}

void PlaybackSequence::File1_EntryMoved(std::int16_t from, std::int16_t to)
{
    if (i != from)
        return;
    // Listed again at row `to`: also one that had left the folder and came
    // back, which is the current file once more (repeat repeats it).
    i = to;
    currentGone_ = false;
}

void PlaybackSequence::File1_EntryRemoved(std::int16_t from, std::int16_t following)
{
    if (i != from)
        return;
    // Just before the entry that followed, so that list order's next step
    // lands on it (and past the end when none followed).
    i = static_cast<std::int16_t>(following - 1);
    currentGone_ = true;
}

bool PlaybackSequence::nextPressesCount() const
{
    return !nextAdvancesWaiting_.empty() && nextAdvancesWaiting_.back() == takeovers_;
}

void PlaybackSequence::NextWanted()
{
    if (shuttingDown_)
        return;
    if (nextPressesCount()) {
        ++extraSteps_;
        return;
    }
    startedByNext_ = true;
    NextPlay();
    startedByNext_ = false;  // NextPlay may have ended before its advance began
}

void PlaybackSequence::MediaPlayer1_StoppedByUser()
{
    if (ended_)
        return;
    ++takeovers_;
    // The stopped report just before this one may have started the
    // confirmation, whose tick would find the player stopped with its file
    // and advance: a person's stop disarms instead. Playing again (the
    // player reports transitioning) arms the advance anew.
    nextfl = 0;
    stopFailure("MediaPlayer1_StoppedByUser", [&] { c_.Timer2.setInterval(0); });
}

void PlaybackSequence::MediaPlayer1_PlayWithoutMedia()
{
    if (shuttingDown_)
        return;
    stopFailure("MediaPlayer1_PlayWithoutMedia", [&] {
        if (!c_.MediaPlayer1.url().empty())
            return;  // the player plays what it holds by itself
        const std::int16_t count = c_.File1.listCount();
        if (count <= 0)
            return;
        if (c_.File1.listIndex() >= 0) {
            playSelectedEntry();  // already selected: no Click would come
            return;
        }
        const auto index = std::clamp<std::int16_t>(i, 0, static_cast<std::int16_t>(count - 1));
        c_.File1.setSelected(index, true);  // raises Click, which plays the entry
    });
}

void PlaybackSequence::MediaPlayer1_PlayStateChange(std::int32_t NewState)
{
    if (ended_)
        return;
    stopFailure("MediaPlayer1_PlayStateChange", [&] {
        switch (NewState) {
        case PlayState::Stopped:
            if (nextfl == 1) {
                c_.Timer2.setInterval(kConfirmIntervalMs);
                nextfl = 0;
            }
            break;
        case PlayState::Transitioning:
            nextfl = 1;
            // A file is starting: one handed over by a click or an advance,
            // or one a person started again with the player's own play.
            ++takeovers_;
            break;
        case PlayState::Playing:
            startHandling();
            break;
        default:
            break;
        }
    });
}

void PlaybackSequence::startHandling()
{
    // Taken at the playing report: every pumping point below may let a
    // person stop this file or start another, and what this handler does to
    // the player after that would land on a file it never saw start (a pause
    // that nothing lifts again).
    const unsigned takeoversAtReport = takeovers_;
    const auto pumpAndStillOurs = [&] { return pumpOnce() && takeovers_ == takeoversAtReport; };
    if (!pumpAndStillOurs())
        return;
    if (c_.full_chk.value() == 1) {
        c_.MediaPlayer1.setFullScreen(true);
        if (!pumpAndStillOurs())
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
    const OnStack onStack(skipsInProgress_);

    c_.MediaPlayer1.pause();
    if (!pumpAndStillOurs())
        return;
    WaitTimer(kStartSkipWaitSeconds);
    if (ended_)
        return;
    // A file started meanwhile is not the one this skip paused, and a person
    // who stopped playback meant it: the skip's seek and resume belong to
    // neither.
    if (takeovers_ != takeoversAtReport)
        return;
    // The text is read again: the user may have changed it during the wait.
    // The position written keeps its fractions. A text that no longer gives
    // a position means the skip was switched off meanwhile: the file plays
    // on from where it is, rather than staying paused for good.
    const auto target = secondsFromText(c_.StartTime_txt.text());
    if (target && std::isfinite(*target))
        c_.MediaPlayer1.setCurrentPosition(*target);
    c_.MediaPlayer1.play();
    pumpOnce();
}

void PlaybackSequence::Timer1_Timer()
{
    if (ended_)
        return;
    stopFailure("Timer1_Timer", [&] { endCutCheck(); });
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
        const unsigned takeoversAtCut = takeovers_;
        if (!pumpOnce())
            return;
        // A person who stopped the file at this pumping point, or a file
        // started there, leaves nothing to cut.
        if (takeovers_ != takeoversAtCut)
            return;
        NextPlay();
    }
}

void PlaybackSequence::Timer2_Timer()
{
    if (ended_)
        return;
    stopFailure("Timer2_Timer", [&] {
        if (c_.MediaPlayer1.playState() != PlayState::Stopped)
            return;  // keeps ticking
        c_.Timer2.setInterval(0);
        // An empty URL is NextPlay's own stop (or the end of the list):
        // that stop must not advance again.
        if (!c_.MediaPlayer1.url().empty())
            NextPlay();
    });
}

void PlaybackSequence::MediaPlayer1_Click(std::int16_t nButton, std::int16_t /*nShiftState*/, float /*fX*/,
                                          float /*fY*/)
{
    if (ended_ || nButton != kLeftButton)
        return;
    stopFailure("MediaPlayer1_Click", [&] {
        const std::int32_t state = c_.MediaPlayer1.playState();
        if (state == PlayState::Playing)
            c_.MediaPlayer1.pause();
        else if (state == PlayState::Paused)
            c_.MediaPlayer1.play();
    });
}

}  // namespace sorinel::playback
