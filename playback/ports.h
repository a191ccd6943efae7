// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The narrow interfaces through which the play-list logic reaches the window's
// controls, the media player, time and randomness. The window implements them
// with the real controls; tests implement them with fakes and a fake clock.
//
// Every call may throw (a control refusing a value, a player that has gone
// away); the handlers that use these interfaces decide what a failure means.

#include <cstdint>
#include <string>

namespace sorinel::playback {

// The player's state numbers, as reported through PlayStateChange.
namespace PlayState {
inline constexpr std::int32_t Stopped = 1;
inline constexpr std::int32_t Paused = 2;
inline constexpr std::int32_t Playing = 3;
inline constexpr std::int32_t Transitioning = 9;
}  // namespace PlayState

class Player {
public:
    virtual ~Player() = default;
    // A full path, as the file system names it (bytes; UTF-8 on an ordinary
    // system), opens the file and, auto-start being on, plays it; the empty
    // string unloads the current media.
    virtual void setUrl(const std::string& path) = 0;
    virtual std::string url() const = 0;  // the last value put, as text; empty after an unload
    virtual std::int32_t playState() const = 0;
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;                     // afterwards the state is Stopped
    virtual double currentPosition() const = 0;  // seconds from the file's start
    virtual void setCurrentPosition(double seconds) = 0;
    virtual double duration() const = 0;  // seconds; 0 while unknown
    virtual void setFullScreen(bool on) = 0;
};

// The file list box: one folder's matching files, at most one selected.
class FileList {
public:
    virtual ~FileList() = default;
    // The folder shown and the selected entry's bare name ("" if none), as
    // the file system names them.
    virtual std::string path() const = 0;
    virtual std::string fileName() const = 0;
    virtual std::int16_t listIndex() const = 0;  // -1 when nothing is selected
    virtual std::int16_t listCount() const = 0;
    // true makes `index` the only selected entry, false deselects it. A change
    // of selection raises the list's Click before this call returns.
    virtual void setSelected(std::int16_t index, bool selected) = 0;
};

class CheckBox {
public:
    virtual ~CheckBox() = default;
    virtual int value() const = 0;  // 0 unchecked, 1 checked
};

class TextBox {
public:
    virtual ~TextBox() = default;
    virtual std::string text() const = 0;  // UTF-8
};

class Timer {
public:
    virtual ~Timer() = default;
    // Interval 0 stops the ticks as surely as disabling does.
    virtual void setInterval(std::int32_t ms) = 0;
    virtual std::int32_t interval() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool enabled() const = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // Local time of day in seconds since midnight, with fractions.
    virtual float secondsSinceMidnight() = 0;
    // The seconds field (0..59) of the local time of day.
    virtual int secondsField() = 0;
    // Seconds on a clock that never jumps (not at midnight, not when the
    // system time is set); only differences between readings mean anything.
    virtual double monotonicSeconds() = 0;
};

class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual float next() = 0;  // uniform on 0 <= r < 1
    virtual void reseedFromClock() = 0;
};

class EventPump {
public:
    virtual ~EventPump() = default;
    // Handles all pending window events once, then returns.
    virtual void processPending() = 0;
    // Blocks until at least one event has arrived and been handled, or until
    // maxSeconds have passed, whichever comes first.
    virtual void waitForEvents(double maxSeconds) = 0;
};

}  // namespace sorinel::playback
