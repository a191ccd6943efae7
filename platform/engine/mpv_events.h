// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Brings mpv's events onto the GUI thread and translates them into the
// player's own vocabulary, so no mpv type reaches the rest of the player.
//
// mpv calls its wakeup callback on its own threads (sometimes from inside an
// mpv call made here); the callback only posts one queued call, and that
// call drains every pending event on the GUI thread.

#include "platform/engine/queued_wakeup.h"

#include <QObject>

namespace sorinel::platform {

class MpvHandle;

// Asks the engine now whether the current file shows moving pictures (see
// videoPresenceChanged); false when nothing is loaded.
bool currentFileShowsVideo(const MpvHandle& mpv);

class MpvEventPump : public QObject {
    Q_OBJECT
public:
    explicit MpvEventPump(const MpvHandle& mpv, QObject* parent = nullptr);
    ~MpvEventPump() override;

    // Handles whatever is pending now, without waiting for the queued call.
    void drain();

signals:
    void fileStarted(long long entryId);
    void fileLoaded();
    void playbackRestarted();
    void fileEnded(long long entryId);
    void eofReachedChanged(bool reached);
    // The current file shows moving pictures: a video track is selected and
    // it is not an album's cover art.
    void videoPresenceChanged(bool hasVideo);
    // Whether any video track (a film, or a cover picture) is selected.
    // Without one the engine draws nothing more, and its last picture would
    // stay up under a sound file that follows a film.
    void videoTrackChanged(bool selected);
    // Where the current file is and how long it runs, in seconds; 0 while
    // the engine does not know.
    void positionChanged(double seconds);
    void durationChanged(double seconds);

private:
    void onWakeup();
    static void wakeupCallback(void* self);

    const MpvHandle& mpv_;
    QueuedWakeup wakeup_;
};

}  // namespace sorinel::platform
