// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/screensaver/video_playback_hold.h"

#include "platform/player/play_state_machine.h"
#include "desktop/screensaver/screen_saver_inhibitor.h"

#include <QString>

namespace sorinel::desktop {

VideoPlaybackHold::VideoPlaybackHold(ScreenSaverInhibitor& inhibitor)
    : inhibitor_(inhibitor), state_(platform::play_state::Stopped) {}

void VideoPlaybackHold::onPlayStateChanged(int state) {
    state_ = state;
    update();
}

void VideoPlaybackHold::onVideoPresenceChanged(bool hasVideo) {
    hasVideo_ = hasVideo;
    update();
}

bool VideoPlaybackHold::holding() const { return state_ == platform::play_state::Playing && hasVideo_; }

void VideoPlaybackHold::update() {
    if (holding())
        inhibitor_.inhibit(QStringLiteral("動画を再生中"));
    else
        inhibitor_.uninhibit();
}

}  // namespace sorinel::desktop
