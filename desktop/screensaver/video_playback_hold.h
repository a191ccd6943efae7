// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Decides when the screen saver is held: while a video plays. Fed with the
// player's state numbers and whether the current file shows moving pictures
// (a video track that is not just an album's cover art); drives one
// inhibitor. Sound alone, a pause, a stop or an unloaded file release it.

namespace sorinel::desktop {

class ScreenSaverInhibitor;

class VideoPlaybackHold {
public:
    // inhibitor must outlive this object.
    explicit VideoPlaybackHold(ScreenSaverInhibitor& inhibitor);

    void onPlayStateChanged(int state);
    void onVideoPresenceChanged(bool hasVideo);

    bool holding() const;

private:
    void update();

    ScreenSaverInhibitor& inhibitor_;
    int state_;
    bool hasVideo_ = false;
};

}  // namespace sorinel::desktop
