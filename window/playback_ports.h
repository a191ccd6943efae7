// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The play-list logic's ports over the window's real controls. Texts cross
// as UTF-8; the folder, the list's names and the player's path cross as the
// file system names them, bytes that need not be UTF-8.

#include <functional>

#include "platform/player/media_player.h"
#include "playback/ports.h"
#include "window/controls/check_box.h"
#include "window/controls/file_list_box.h"
#include "window/controls/interval_timer.h"
#include "window/controls/text_box.h"

namespace sorinel::window {

class PlayerPort final : public playback::Player {
public:
    // urlChanged runs after every URL put (the window shows or hides the
    // title picture by it).
    PlayerPort(platform::MediaPlayer& player, std::function<void()> urlChanged);
    void setUrl(const std::string& path) override;
    std::string url() const override;
    std::int32_t playState() const override;
    void play() override;
    void pause() override;
    void stop() override;
    double currentPosition() const override;
    void setCurrentPosition(double seconds) override;
    double duration() const override;
    void setFullScreen(bool on) override;

private:
    platform::MediaPlayer& player_;
    std::function<void()> urlChanged_;
};

class FileListPort final : public playback::FileList {
public:
    explicit FileListPort(FileListBox& list) : list_(list) {}
    std::string path() const override;
    std::string fileName() const override;
    std::int16_t listIndex() const override;
    std::int16_t listCount() const override;
    void setSelected(std::int16_t index, bool selected) override;

private:
    FileListBox& list_;
};

class CheckBoxPort final : public playback::CheckBox {
public:
    explicit CheckBoxPort(const window::CheckBox& box) : box_(box) {}
    int value() const override;

private:
    const window::CheckBox& box_;
};

class TextBoxPort final : public playback::TextBox {
public:
    explicit TextBoxPort(const window::TextBox& box) : box_(box) {}
    std::string text() const override;

private:
    const window::TextBox& box_;
};

class TimerPort final : public playback::Timer {
public:
    explicit TimerPort(IntervalTimer& timer) : timer_(timer) {}
    void setInterval(std::int32_t ms) override;
    std::int32_t interval() const override;
    void setEnabled(bool enabled) override;
    bool enabled() const override;

private:
    IntervalTimer& timer_;
};

// Pumps the window's event loop. The wait blocks in the event loop until an
// event arrives or the deadline passes: no busy spinning while a file plays.
class QtEventPump final : public playback::EventPump {
public:
    void processPending() override;
    void waitForEvents(double maxSeconds) override;
};

}  // namespace sorinel::window
