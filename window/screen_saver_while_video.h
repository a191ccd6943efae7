// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeps the screen saver off while the player shows moving pictures, and
// lets it come back at a pause, a stop, an end, or a file of sound alone.

#include <QObject>

#include <memory>

namespace sorinel::platform {
class MediaPlayer;
}  // namespace sorinel::platform

namespace sorinel::desktop {
class ScreenSaverInhibitor;
class VideoPlaybackHold;
}  // namespace sorinel::desktop

namespace sorinel::window {

class ScreenSaverWhileVideo : public QObject {
public:
    // Made before anything else listens to the player: a handler of one of
    // its reports may already set the next file, and the hold must have seen
    // the report before that file's reports come.
    ScreenSaverWhileVideo(platform::MediaPlayer& player, std::unique_ptr<desktop::ScreenSaverInhibitor> inhibitor);
    ~ScreenSaverWhileVideo() override;

private:
    std::unique_ptr<desktop::ScreenSaverInhibitor> inhibitor_;
    std::unique_ptr<desktop::VideoPlaybackHold> hold_;
};

}  // namespace sorinel::window
