// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/screen_saver_while_video.h"

#include "desktop/screensaver/screen_saver_inhibitor.h"
#include "desktop/screensaver/video_playback_hold.h"
#include "platform/player/media_player.h"
#include "playback/ports.h"

namespace sorinel::window {

ScreenSaverWhileVideo::ScreenSaverWhileVideo(platform::MediaPlayer& player,
                                             std::unique_ptr<desktop::ScreenSaverInhibitor> inhibitor)
    : QObject(&player),
      inhibitor_(std::move(inhibitor)),
      hold_(std::make_unique<desktop::VideoPlaybackHold>(*inhibitor_)) {
    connect(&player, &platform::MediaPlayer::videoPresenceChanged, this,
            [this](bool hasVideo) { hold_->onVideoPresenceChanged(hasVideo); });
    connect(&player, &platform::MediaPlayer::playStateChange, this, [this, &player](int state) {
        // Asked afresh as playing starts: the change notice for the new
        // file may still be queued behind this report.
        if (state == playback::PlayState::Playing) hold_->onVideoPresenceChanged(player.showsVideo());
        hold_->onPlayStateChanged(state);
    });
}

ScreenSaverWhileVideo::~ScreenSaverWhileVideo() = default;

}  // namespace sorinel::window
