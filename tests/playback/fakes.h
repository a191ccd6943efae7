// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fakes of the play-list logic's ports, driven by one fake clock. The event
// pump runs scripted events and the timers at their clock times, so handlers
// can run nested inside the logic's pumping points exactly as in the window.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "playback/ports.h"

namespace sorinel::playback::testing {

class FakeClock : public Clock {
public:
    double local = 36000.0;  // seconds since local midnight
    double monotonic = 1000.0;
    std::optional<int> fixedSecondsField;  // overrides the field of `local`

    float secondsSinceMidnight() override { return static_cast<float>(local); }
    int secondsField() override
    {
        if (fixedSecondsField)
            return *fixedSecondsField;
        return static_cast<int>(std::floor(local)) % 60;
    }
    double monotonicSeconds() override { return monotonic; }

    void advance(double seconds)
    {
        monotonic += seconds;
        local = std::fmod(local + seconds, 86400.0);
    }
};

class FakeTimer : public Timer {
public:
    explicit FakeTimer(FakeClock& clock) : clock_(clock) {}
    std::function<void()> onTick;
    std::vector<std::int32_t> intervalsSet;

    void setInterval(std::int32_t ms) override
    {
        intervalsSet.push_back(ms);
        interval_ = ms;
        nextDue_ = clock_.monotonic + ms / 1000.0;  // a new interval restarts the count
    }
    std::int32_t interval() const override { return interval_; }
    void setEnabled(bool on) override
    {
        if (on && !enabled_)
            nextDue_ = clock_.monotonic + interval_ / 1000.0;
        enabled_ = on;
    }
    bool enabled() const override { return enabled_; }

    // Set-up without recording a call of the logic.
    void prime(std::int32_t ms, bool on)
    {
        interval_ = ms;
        enabled_ = on;
        nextDue_ = clock_.monotonic + ms / 1000.0;
    }
    std::optional<double> nextDue() const
    {
        if (!enabled_ || interval_ <= 0 || !onTick)
            return std::nullopt;
        return nextDue_;
    }
    void fire()
    {
        nextDue_ = clock_.monotonic + interval_ / 1000.0;
        onTick();
    }

private:
    FakeClock& clock_;
    std::int32_t interval_ = 0;
    bool enabled_ = false;
    double nextDue_ = 0.0;
};

class FakeEventPump : public EventPump {
public:
    explicit FakeEventPump(FakeClock& clock) : clock_(clock) {}

    int processPendingCalls = 0;
    int waitCalls = 0;
    std::vector<FakeTimer*> timers;
    // Called at the start of every pass of event handling (before anything
    // due runs) and before each event or tick: lets a test act, or look, at
    // every point where a handler hands control to the event loop.
    std::function<void()> onPass;
    std::function<void()> beforeEachEvent;

    // An event that arrives at monotonic time `when` (now for post).
    void at(double when, std::function<void()> event) { scheduled_.emplace(when, std::move(event)); }
    void after(double seconds, std::function<void()> event) { at(clock_.monotonic + seconds, std::move(event)); }
    void post(std::function<void()> event) { at(clock_.monotonic, std::move(event)); }

    // Run once, at the start of the first processPending at which `when`
    // holds: lets a test make a pumping point last long enough for a tick.
    void atPendingWhen(std::function<bool()> when, std::function<void()> action)
    {
        hooks_.push_back({std::move(when), std::move(action)});
    }

    void processPending() override
    {
        ++processPendingCalls;
        if (onPass)
            onPass();
        for (auto it = hooks_.begin(); it != hooks_.end(); ++it) {
            if (it->when()) {
                auto action = std::move(it->action);
                hooks_.erase(it);
                action();
                break;
            }
        }
        runDue();
    }

    void waitForEvents(double maxSeconds) override
    {
        ++waitCalls;
        if (maxSeconds < 0.0)
            throw std::logic_error("negative wait");
        if (onPass)
            onPass();
        const double limit = clock_.monotonic + maxSeconds;
        const auto due = earliestDue();
        if (due && *due <= limit) {
            if (*due > clock_.monotonic)
                clock_.advance(*due - clock_.monotonic);
            runDue();
        } else {
            clock_.advance(limit - clock_.monotonic);
        }
    }

    // The window's own event loop, for `seconds` of clock time.
    void runFor(double seconds)
    {
        const double end = clock_.monotonic + seconds;
        while (clock_.monotonic < end)
            waitForEvents(end - clock_.monotonic);
        runDue();
    }

private:
    struct Hook {
        std::function<bool()> when;
        std::function<void()> action;
    };

    std::optional<double> earliestDue() const
    {
        std::optional<double> due;
        if (!scheduled_.empty())
            due = scheduled_.begin()->first;
        for (const FakeTimer* t : timers)
            if (auto d = t->nextDue(); d && (!due || *d < *due))
                due = d;
        return due;
    }

    // Handles everything due now, in time order; what a handler posts for
    // now is handled in the same pass.
    void runDue()
    {
        for (int guard = 0; guard < 100000; ++guard) {
            const auto due = earliestDue();
            if (!due || *due > clock_.monotonic + 1e-9)
                return;
            if (beforeEachEvent)
                beforeEachEvent();
            if (!scheduled_.empty() && scheduled_.begin()->first == *due) {
                auto event = std::move(scheduled_.begin()->second);
                scheduled_.erase(scheduled_.begin());
                event();
                continue;
            }
            for (FakeTimer* t : timers)
                if (auto d = t->nextDue(); d && *d == *due) {
                    t->fire();
                    break;
                }
        }
        throw std::logic_error("event storm: a handler keeps posting events for now");
    }

    FakeClock& clock_;
    std::multimap<double, std::function<void()>> scheduled_;
    std::vector<Hook> hooks_;
};

// One log of the calls the logic makes, across the fakes, in order.
using CallLog = std::vector<std::string>;

// A player that reports the way the component does: transitioning (9) from
// inside setUrl and play-from-stopped, stopped (1) from inside stop and
// unload, paused (2) and resumed (3) from inside pause and play; playing
// after a load, a file's natural end and a failure to open come later,
// through the event loop. A playing file reaches its end.
class FakePlayer : public Player {
public:
    FakePlayer(FakeClock& clock, FakeEventPump& pump, CallLog& log) : clock_(clock), pump_(pump), log_(log) {}

    std::function<void(std::int32_t)> onStateChange;
    // What the component raises for a person's own stop and play buttons.
    std::function<void()> onStoppedByUser;
    std::function<void()> onPlayWithoutMedia;
    std::map<std::string, double> durations;  // by path; others last defaultDuration
    double defaultDuration = 300.0;
    double openingTakes = 0.0;            // from the load to the playing report
    std::vector<std::string> unplayable;  // paths that fail to open
    double seekLandsAfter = 0.0;          // where a seek lands, relative to its target
    std::string failingCall;              // this operation throws

    int stopCalls = 0;
    int pauseCalls = 0;
    int playCalls = 0;
    int fullScreenCalls = 0;
    int loads = 0;  // paths handed over, the empty one not counted
    std::vector<double> positionsSet;
    std::vector<std::string> urlsSet;

    void setUrl(const std::string& path) override
    {
        failIf("setUrl");
        log_.push_back("url " + path);
        urlsSet.push_back(path);
        url_ = path;
        ++generation_;
        if (path.empty()) {
            changeState(PlayState::Stopped);
            return;
        }
        ++loads;
        const auto it = durations.find(path);
        duration_ = it != durations.end() ? it->second : defaultDuration;
        position_ = 0.0;
        open();
    }
    std::string url() const override
    {
        failIf("url");
        return url_;
    }
    std::int32_t playState() const override
    {
        failIf("playState");
        return state_;
    }
    void play() override
    {
        failIf("play");
        ++playCalls;
        log_.push_back("play");
        if (url_.empty() || state_ == PlayState::Playing)
            return;
        if (state_ == PlayState::Stopped) {
            position_ = 0.0;  // from its start again, announced like a load
            ++generation_;
            open();
        } else if (state_ == PlayState::Transitioning) {
            wantPlaying_ = true;
        } else {
            resume();
        }
    }
    void pause() override
    {
        failIf("pause");
        ++pauseCalls;
        log_.push_back("pause");
        if (state_ == PlayState::Transitioning) {
            wantPlaying_ = false;  // opens into paused
        } else if (state_ == PlayState::Playing) {
            position_ = currentPosition();
            ++generation_;
            changeState(PlayState::Paused);
        }
    }
    void stop() override
    {
        failIf("stop");
        ++stopCalls;
        log_.push_back("stop");
        position_ = 0.0;
        ++generation_;  // a file still opening stays stopped
        changeState(PlayState::Stopped);
    }
    double currentPosition() const override
    {
        failIf("currentPosition");
        if (state_ == PlayState::Playing)
            return std::min(duration_, position_ + (clock_.monotonic - playingSince_));
        return position_;
    }
    void setCurrentPosition(double seconds) override
    {
        failIf("setCurrentPosition");
        positionsSet.push_back(seconds);
        log_.push_back("seek");
        position_ = seconds + seekLandsAfter;
        playingSince_ = clock_.monotonic;
        if (state_ == PlayState::Playing) {
            ++generation_;
            scheduleEnd();
        }
    }
    double duration() const override
    {
        failIf("duration");
        return url_.empty() ? 0.0 : duration_;
    }
    void setFullScreen(bool on) override
    {
        failIf("setFullScreen");
        if (on)
            ++fullScreenCalls;
    }

    // A person's stop button: the ordinary stop, then the component's word
    // that a person did it.
    void personStops()
    {
        stop();
        if (onStoppedByUser)
            onStoppedByUser();
    }
    // A person's play button: with nothing loaded the component only tells.
    void personPlays()
    {
        if (url_.empty()) {
            if (onPlayWithoutMedia)
                onPlayWithoutMedia();
            return;
        }
        play();
    }

    // Test set-up: a loaded file in a given state, without reports.
    void load(const std::string& path, std::int32_t state, double position, double duration)
    {
        url_ = path;
        state_ = state;
        position_ = position;
        duration_ = duration;
        playingSince_ = clock_.monotonic;
        ++generation_;
        if (state == PlayState::Playing)
            scheduleEnd();
    }

private:
    void failIf(const std::string& call) const
    {
        if (call == failingCall)
            throw std::runtime_error("player call failed: " + call);
    }
    void report(std::int32_t state)
    {
        if (onStateChange)
            onStateChange(state);
    }
    void changeState(std::int32_t state)
    {
        if (state_ == state)
            return;
        state_ = state;
        report(state);
    }
    // Announces the file at once; it plays (or fails) from the event loop.
    void open()
    {
        wantPlaying_ = true;
        state_ = PlayState::Transitioning;
        const unsigned generation = generation_;
        const bool fails = std::find(unplayable.begin(), unplayable.end(), url_) != unplayable.end();
        pump_.after(openingTakes, [this, generation, fails] {
            if (generation != generation_)
                return;  // stopped or replaced while opening
            if (fails)
                changeState(PlayState::Stopped);
            else if (wantPlaying_)
                resume();
            else
                changeState(PlayState::Paused);
        });
        report(PlayState::Transitioning);
    }
    void resume()
    {
        playingSince_ = clock_.monotonic;
        ++generation_;
        scheduleEnd();
        state_ = PlayState::Playing;
        report(PlayState::Playing);
    }
    void scheduleEnd()
    {
        const unsigned generation = generation_;
        const double left = std::max(0.0, duration_ - position_);
        pump_.after(left, [this, generation] {
            if (generation != generation_ || state_ != PlayState::Playing)
                return;  // paused, stopped, moved or replaced meanwhile
            position_ = duration_;
            ++generation_;
            log_.push_back("ended " + url_);
            changeState(PlayState::Stopped);
        });
    }

    FakeClock& clock_;
    FakeEventPump& pump_;
    CallLog& log_;
    std::string url_;
    std::int32_t state_ = PlayState::Stopped;
    bool wantPlaying_ = true;
    double position_ = 0.0;
    double duration_ = 0.0;
    double playingSince_ = 0.0;
    unsigned generation_ = 0;
};

// The file list box: selecting raises Click before the call returns; a
// re-read keeps the selected file selected, wherever it now stands.
class FakeFileList : public FileList {
public:
    explicit FakeFileList(CallLog& log) : log_(log) {}

    std::string folder = "/media/films";
    std::vector<std::string> entries;
    std::int16_t selected = -1;
    std::function<void()> onClick;
    std::function<void(std::int16_t, std::int16_t)> onEntryMoved;
    std::function<void(std::int16_t, std::int16_t)> onEntryRemoved;
    int missingEntryCalls = 0;  // calls that addressed an entry that does not exist

    std::string path() const override { return folder; }
    std::string fileName() const override { return selected >= 0 ? entries.at(selected) : ""; }
    std::int16_t listIndex() const override { return selected; }
    std::int16_t listCount() const override { return static_cast<std::int16_t>(entries.size()); }
    void setSelected(std::int16_t index, bool on) override
    {
        if (index < 0 || index >= listCount()) {
            ++missingEntryCalls;
            throw std::out_of_range("no such list entry");
        }
        log_.push_back((on ? "select " : "deselect ") + std::to_string(index));
        if (on && selected != index) {
            selected = index;
            current_ = entries.at(index);
            currentGone_ = false;
            if (onClick)
                onClick();
        } else if (!on && selected == index) {
            selected = -1;
            if (onClick)
                onClick();
        }
    }

    // The user clicks an entry (the list raises Click from the event loop).
    void userSelects(std::int16_t index) { setSelected(index, true); }

    // The folder read again with these names, sorted (a layout pass writes
    // the pattern): the selected file stays selected at its new row, and the
    // current entry (the one selected last) is reported when it moved or
    // came back. One that has left the folder is reported gone, and its place
    // (the row just before the first name after it) is followed from then on,
    // reported gone again where it shifts.
    void reread(std::vector<std::string> names)
    {
        const auto rowOf = [](const std::vector<std::string>& list, const std::string& name) {
            const auto it = std::find(list.begin(), list.end(), name);
            return it == list.end() ? -1 : static_cast<int>(it - list.begin());
        };
        const int from = current_.empty() ? -1 : currentGone_ ? goneRow_ : rowOf(entries, current_);
        const bool hadSelection = selected >= 0;
        const bool wasGone = currentGone_;
        entries = std::move(names);
        int to = current_.empty() ? -1 : rowOf(entries, current_);
        currentGone_ = !current_.empty() && to < 0;
        if (currentGone_) {
            goneRow_ =
                static_cast<int>(std::lower_bound(entries.begin(), entries.end(), current_) - entries.begin()) - 1;
            to = goneRow_;
        }
        if (hadSelection)
            selected = static_cast<std::int16_t>(currentGone_ ? -1 : to);
        if (currentGone_ && (!wasGone || to != from)) {
            if (onEntryRemoved)
                onEntryRemoved(static_cast<std::int16_t>(from), static_cast<std::int16_t>(to + 1));
        } else if (!currentGone_ && to >= 0 && (to != from || wasGone) && onEntryMoved) {
            onEntryMoved(static_cast<std::int16_t>(from), static_cast<std::int16_t>(to));
        }
        if (hadSelection && selected < 0 && onClick)
            onClick();  // the selected file is gone
    }

    std::string pathOf(int index) const { return folder + "/" + entries.at(index); }

private:
    CallLog& log_;
    std::string current_;       // the entry selected last, kept after a deselection
    bool currentGone_ = false;  // no longer in the folder
    int goneRow_ = -1;          // then: the row just before its place
};

class FakeCheckBox : public CheckBox {
public:
    int checked = 0;
    int value() const override { return checked; }
};

class FakeTextBox : public TextBox {
public:
    std::string content;
    std::string text() const override { return content; }
};

// A seeded generator, so that statistical tests give the same counts on
// every run.
class SeededRandom : public RandomSource {
public:
    explicit SeededRandom(std::uint32_t seed = 20261207) : engine_(seed) {}
    float next() override { return static_cast<float>(engine_() >> 8) * (1.0f / 16777216.0f); }
    void reseedFromClock() override {}

private:
    std::mt19937 engine_;
};

// Gives the values it was handed, in order, then repeats the last one.
class ScriptedRandom : public RandomSource {
public:
    explicit ScriptedRandom(std::vector<float> values) : values_(std::move(values)) {}
    int draws = 0;
    float next() override
    {
        const std::size_t k = std::min<std::size_t>(draws++, values_.size() - 1);
        return values_[k];
    }
    void reseedFromClock() override {}

private:
    std::vector<float> values_;
};

}  // namespace sorinel::playback::testing
