// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/playback_ports.h"

#include "platform/player/play_state_machine.h"
#include "playback/ports.h"

#include <QCoreApplication>
#include <QFile>
#include <QEventLoop>
#include <QTimer>
#include <cmath>

namespace sorinel::window {

// The play list and the player each keep the state numbers in their own
// vocabulary, so neither depends on the other; this is where the one meets
// the other, and where a number that drifted stops the build.
static_assert(playback::PlayState::Stopped == platform::play_state::Stopped);
static_assert(playback::PlayState::Paused == platform::play_state::Paused);
static_assert(playback::PlayState::Playing == platform::play_state::Playing);
static_assert(playback::PlayState::Transitioning == platform::play_state::Transitioning);

PlayerPort::PlayerPort(platform::MediaPlayer& player, std::function<void()> urlChanged)
    : player_(player), urlChanged_(std::move(urlChanged)) {}

void PlayerPort::setUrl(const std::string& path) {
    if (path.empty())
        player_.setUrl(QString());
    else
        player_.setLocalPath(QByteArray::fromStdString(path));
    if (urlChanged_) urlChanged_();
}
std::string PlayerPort::url() const { return player_.url().toStdString(); }
std::int32_t PlayerPort::playState() const { return player_.playState(); }
void PlayerPort::play() { player_.play(); }
void PlayerPort::pause() { player_.pause(); }
void PlayerPort::stop() { player_.stop(); }
double PlayerPort::currentPosition() const { return player_.currentPosition(); }
void PlayerPort::setCurrentPosition(double seconds) { player_.setCurrentPosition(seconds); }
double PlayerPort::duration() const { return player_.duration(); }
void PlayerPort::setFullScreen(bool on) { player_.setFullScreen(on); }

std::string FileListPort::path() const { return QFile::encodeName(list_.Path()).toStdString(); }
std::string FileListPort::fileName() const { return list_.nativeFileName().toStdString(); }
std::int16_t FileListPort::listIndex() const { return list_.ListIndex(); }
std::int16_t FileListPort::listCount() const { return list_.ListCount(); }
void FileListPort::setSelected(std::int16_t index, bool selected) { list_.setSelected(index, selected); }

int CheckBoxPort::value() const { return box_.Value(); }

std::string TextBoxPort::text() const { return box_.text().toStdString(); }

void TimerPort::setInterval(std::int32_t ms) { timer_.setInterval(ms); }
std::int32_t TimerPort::interval() const { return timer_.Interval(); }
void TimerPort::setEnabled(bool enabled) { timer_.setEnabled(enabled); }
bool TimerPort::enabled() const { return timer_.Enabled(); }

void QtEventPump::processPending() { QCoreApplication::processEvents(); }

void QtEventPump::waitForEvents(double maxSeconds) {
    if (!(maxSeconds > 0.0)) {
        QCoreApplication::processEvents();
        return;
    }
    // The deadline timer is itself an event: WaitForMoreEvents returns at the
    // latest when it fires.
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    deadline.start(static_cast<int>(std::ceil(std::min(maxSeconds, 86400.0) * 1000.0)));
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

}  // namespace sorinel::window
