// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/engine/mpv_events.h"

#include "platform/engine/engine_log.h"
#include "platform/engine/mpv_handle.h"

#include <mpv/client.h>

#include <QMetaObject>
#include <cstring>

namespace sorinel::platform {

namespace {

// The album-art flag of the selected video track: unavailable without a
// video track, set for a cover picture, clear for real video.
constexpr const char* VideoAlbumArt = "current-tracks/video/albumart";

}  // namespace

bool currentFileShowsVideo(const MpvHandle& mpv) {
    if (!mpv.valid()) return false;
    int albumArt = 0;
    if (mpv_get_property(mpv.get(), VideoAlbumArt, MPV_FORMAT_FLAG, &albumArt) < 0) return false;
    return albumArt == 0;
}

MpvEventPump::MpvEventPump(const MpvHandle& mpv, QObject* parent) : QObject(parent), mpv_(mpv) {
    if (!mpv_.valid()) return;
    mpv_observe_property(mpv_.get(), 0, "eof-reached", MPV_FORMAT_FLAG);
    mpv_observe_property(mpv_.get(), 0, VideoAlbumArt, MPV_FORMAT_FLAG);
    // Watched rather than asked over and over: a property read waits for
    // the engine's core, which at a file's first frame waits for that frame
    // to be drawn on this thread. The engine gives up after 0.2 s and drops
    // the frame, and the window stands still meanwhile.
    mpv_observe_property(mpv_.get(), 0, "time-pos", MPV_FORMAT_DOUBLE);
    mpv_observe_property(mpv_.get(), 0, "duration", MPV_FORMAT_DOUBLE);
    mpv_set_wakeup_callback(mpv_.get(), &MpvEventPump::wakeupCallback, this);
}

MpvEventPump::~MpvEventPump() {
    // After this returns mpv no longer calls back into a dead object.
    if (mpv_.valid()) mpv_set_wakeup_callback(mpv_.get(), nullptr, nullptr);
}

void MpvEventPump::wakeupCallback(void* self) {
    auto* pump = static_cast<MpvEventPump*>(self);
    pump->wakeup_.post(pump, &MpvEventPump::onWakeup);
}

void MpvEventPump::onWakeup() {
    wakeup_.taken();
    drain();
}

void MpvEventPump::drain() {
    if (!mpv_.valid()) return;
    for (;;) {
        // A handler of a signal below may pump events, and a drain nested
        // there takes the next event, which frees this one: everything an
        // event says is copied out before the first signal.
        const mpv_event* event = mpv_wait_event(mpv_.get(), 0);
        switch (event->event_id) {
        case MPV_EVENT_NONE:
            return;
        case MPV_EVENT_START_FILE: {
            const auto* start = static_cast<const mpv_event_start_file*>(event->data);
            const long long entry = start ? start->playlist_entry_id : 0;
            emit fileStarted(entry);
            break;
        }
        case MPV_EVENT_FILE_LOADED:
            emit fileLoaded();
            break;
        case MPV_EVENT_LOG_MESSAGE: {
            const auto* msg = static_cast<const mpv_event_log_message*>(event->data);
            if (msg) printEngineMessage(msg->prefix, msg->level, msg->text);
            break;
        }
        case MPV_EVENT_PLAYBACK_RESTART:
            emit playbackRestarted();
            break;
        case MPV_EVENT_END_FILE: {
            const auto* end = static_cast<const mpv_event_end_file*>(event->data);
            if (!end) break;
            emit fileEnded(end->playlist_entry_id);
            break;
        }
        case MPV_EVENT_PROPERTY_CHANGE: {
            const auto* prop = static_cast<const mpv_event_property*>(event->data);
            if (!prop) break;
            const bool isFlag = prop->format == MPV_FORMAT_FLAG;
            const bool flag = isFlag && *static_cast<const int*>(prop->data) != 0;
            const double seconds = prop->format == MPV_FORMAT_DOUBLE ? *static_cast<const double*>(prop->data) : 0.0;
            if (std::strcmp(prop->name, "time-pos") == 0) {
                emit positionChanged(seconds);
            } else if (std::strcmp(prop->name, "duration") == 0) {
                emit durationChanged(seconds);
            } else if (std::strcmp(prop->name, "eof-reached") == 0) {
                emit eofReachedChanged(flag);
            } else if (std::strcmp(prop->name, VideoAlbumArt) == 0) {
                // No value at all: no video track is selected.
                const bool trackSelected = prop->format != MPV_FORMAT_NONE;
                const bool movingPictures = isFlag && !flag;
                emit videoPresenceChanged(movingPictures);
                emit videoTrackChanged(trackSelected);
            }
            break;
        }
        default:
            break;
        }
    }
}

}  // namespace sorinel::platform
