// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The engine in the player's own words: load a file playing or paused, pause,
// seek, the sound settings, and what the engine observes (where the file is,
// how long it runs, that it ended). The engine's property and command names,
// its options and its quirks stay behind this class; a change of engine is a
// change of its .cpp files.
//
// Everything here runs on the GUI thread, and every signal is emitted there.
// Entry ids name the loads: a load returns one, and the file's start and end
// report it, so a late report of a replaced file can be told apart.

#include <QByteArray>
#include <QObject>

#include <memory>
#include <optional>

struct mpv_handle;

namespace sorinel::platform {

class MpvHandle;
class MpvEventPump;

class Engine : public QObject {
    Q_OBJECT
public:
    explicit Engine(QObject* parent = nullptr);
    ~Engine() override;

    // false when the engine could not be started; every call then does
    // nothing and every load is refused.
    bool valid() const;

    // Replaces the current file with the one at path (bytes as the file
    // system holds them), playing or paused. Returns its entry id, or -1 when
    // the engine refused it.
    long long load(const QByteArray& path, bool playing);
    // The same for a file held open as a descriptor at offset 0. The engine
    // owns fd from here on, and closes it even when it refuses the load.
    long long loadDescriptor(int fd, bool playing);
    // The engine would open a folder as a play list of its files; the player
    // takes one file at a time, so a folder is never handed to it.
    static bool opensAsPlayList(const QByteArray& path);
    // Lets go of the current file; the engine goes idle.
    void unload();

    void setPaused(bool paused);
    bool paused() const;
    // To seconds from the file's start, exactly; false when refused.
    bool seek(double seconds);

    void setVolume(double volume);  // 0..100
    void setMute(bool on);
    void setSpeed(double rate);
    void setBalance(int balance);  // -100 (left only) .. 100 (right only)
    // true: the picture grows to fill its area; false: it keeps its own size
    // unless that does not fit. Either way it keeps its shape.
    void setStretchToFit(bool on);
    // Decoding on the GPU, where the picture is drawn there.
    void setHardwareDecoding(bool on);

    // Asked of the engine now, rather than as last observed.
    std::optional<double> position() const;
    std::optional<double> duration() const;
    // The current file shows moving pictures: a video track, not an album's
    // cover art. false when nothing is loaded.
    bool showsVideo() const;

    // For platform/video alone, which draws the engine's pictures through its
    // render API: the handle that API takes, and the engine's cheapest
    // scaling, for a window that draws on the processor.
    mpv_handle* renderSource() const;
    void useCheapScaling();

signals:
    void fileStarted(long long entryId);
    void fileLoaded();
    // The first frame after a load or seek is out.
    void playbackRestarted();
    void fileEnded(long long entryId);
    // The file played to its end; it stays loaded, paused there.
    void endReached();
    void videoPresenceChanged(bool hasVideo);
    // Whether any video track (a film or a cover picture) is selected.
    void videoTrackChanged(bool selected);
    // Seconds; 0 while the engine does not know.
    void positionChanged(double seconds);
    void durationChanged(double seconds);

private:
    std::unique_ptr<MpvHandle> mpv_;
    std::unique_ptr<MpvEventPump> pump_;
};

}  // namespace sorinel::platform
