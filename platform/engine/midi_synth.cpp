// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/engine/midi_synth.h"

#include <fluidsynth.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <utility>
#include <vector>

namespace sorinel::platform::midi {

namespace {

constexpr int SampleRate = 44100;
constexpr int Channels = 2;
constexpr int BlockFrames = 1024;
// A broken file can claim an endless song; this bounds the memory a single
// file may take (about 400 MiB of PCM).
constexpr qint64 MaxSeconds = 40 * 60;
// Anything shorter than this is not music but a file fluidsynth gave up on.
constexpr qint64 MinFrames = 2 * BlockFrames;

void silenceFluidsynthLog() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level) fluid_set_log_function(level, nullptr, nullptr);
    });
}

void putLe32(QByteArray& out, quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

void putLe16(QByteArray& out, quint16 v) {
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

bool writeAll(int fd, const char* data, qint64 size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

constexpr qint64 HeaderBytes = 44;

// Closes the memory file unless it is handed on.
struct MemoryFile {
    int fd = -1;
    ~MemoryFile() {
        if (fd >= 0) ::close(fd);
    }
    int release() { return std::exchange(fd, -1); }
};

// Owns the fluidsynth objects of one rendering.
struct Synth {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_player_t* player = nullptr;
    ~Synth() {
        if (player) delete_fluid_player(player);
        if (synth) delete_fluid_synth(synth);
        if (settings) delete_fluid_settings(settings);
    }
};

// Where the song stands while it is rendered. fluidsynth's player stays
// "playing" for a grace period after the last event (about 3 s of silence
// and release tail), so the song's end is the time of its last event.
struct Progress {
    fluid_synth_t* synth = nullptr;
    qint64 framesRendered = 0;
    qint64 lastEventFrame = -1;
};

// Runs inside fluid_synth_write_s16, on the rendering thread.
int onMidiEvent(void* data, fluid_midi_event_t* event) {
    auto* progress = static_cast<Progress*>(data);
    progress->lastEventFrame = progress->framesRendered;
    return fluid_synth_handle_midi_event(progress->synth, event);
}

}  // namespace

namespace {

// Opened by its bytes: a name that is not UTF-8 would not survive a QString.
bool openNative(QFile& file, const QByteArray& nativePath) {
    const int fd = ::open(nativePath.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    if (file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) return true;
    ::close(fd);
    return false;
}

}  // namespace

bool isMidiFile(const QByteArray& nativePath) {
    const QByteArray lower = nativePath.toLower();
    if (lower.endsWith(".mid") || lower.endsWith(".midi")) return true;
    QFile f;
    if (!openNative(f, nativePath)) return false;
    return f.read(4) == "MThd";
}

QString findSoundFont(const QStringList& searchDirs) {
    for (const QString& dir : searchDirs) {
        const QString preferred = QDir(dir).filePath("TimGM6mb.sf2");
        if (QFileInfo(preferred).isReadable()) return preferred;
    }
    for (const QString& dir : searchDirs) {
        const QFileInfoList fonts =
            QDir(dir).entryInfoList({"*.sf2", "*.SF2"}, QDir::Files | QDir::Readable, QDir::Name);
        if (!fonts.isEmpty()) return fonts.first().absoluteFilePath();
    }
    return {};
}

QByteArray wavHeader(int sampleRate, int channels, qint64 frames) {
    const quint32 blockAlign = static_cast<quint32>(channels) * 2;
    const quint32 dataBytes = static_cast<quint32>(frames * blockAlign);
    QByteArray h;
    h.reserve(44);
    h.append("RIFF", 4);
    putLe32(h, 36 + dataBytes);
    h.append("WAVE", 4);
    h.append("fmt ", 4);
    putLe32(h, 16);
    putLe16(h, 1);  // PCM
    putLe16(h, static_cast<quint16>(channels));
    putLe32(h, static_cast<quint32>(sampleRate));
    putLe32(h, static_cast<quint32>(sampleRate) * blockAlign);
    putLe16(h, static_cast<quint16>(blockAlign));
    putLe16(h, 16);
    h.append("data", 4);
    putLe32(h, dataBytes);
    return h;
}

Rendering renderToMemoryWav(const QByteArray& nativeMidiPath, const QString& soundFont) {
    silenceFluidsynthLog();
    QFile file;
    if (soundFont.isEmpty() || !openNative(file, nativeMidiPath)) return {};
    const QByteArray midiData = file.read(64 * 1024 * 1024);
    if (!midiData.startsWith("MThd")) return {};

    Synth s;
    s.settings = new_fluid_settings();
    if (!s.settings) return {};
    fluid_settings_setnum(s.settings, "synth.sample-rate", SampleRate);
    // The player's clock follows the samples rendered, not the wall clock,
    // so rendering runs as fast as the CPU allows.
    fluid_settings_setstr(s.settings, "player.timing-source", "sample");
    fluid_settings_setint(s.settings, "synth.lock-memory", 0);
    s.synth = new_fluid_synth(s.settings);
    if (!s.synth) return {};
    if (fluid_synth_sfload(s.synth, soundFont.toLocal8Bit().constData(), 1) == FLUID_FAILED) return {};
    s.player = new_fluid_player(s.synth);
    if (!s.player) return {};
    if (fluid_player_add_mem(s.player, midiData.constData(), static_cast<size_t>(midiData.size())) != FLUID_OK)
        return {};
    Progress progress{s.synth};
    fluid_player_set_playback_callback(s.player, &onMidiEvent, &progress);
    if (fluid_player_play(s.player) != FLUID_OK) return {};

    MemoryFile out;
    out.fd = memfd_create("sorinel-midi", MFD_CLOEXEC);
    if (out.fd < 0) return {};
    // The samples go straight into the memory file, behind room for the
    // header, which is written once the length is known.
    if (::lseek(out.fd, HeaderBytes, SEEK_SET) != HeaderBytes) return {};
    std::vector<qint16> block(static_cast<size_t>(BlockFrames) * Channels);
    while (fluid_player_get_status(s.player) == FLUID_PLAYER_PLAYING &&
           progress.framesRendered < MaxSeconds * SampleRate) {
        if (fluid_synth_write_s16(s.synth, BlockFrames, block.data(), 0, Channels, block.data(), 1, Channels) !=
            FLUID_OK)
            return {};
        if (!writeAll(out.fd, reinterpret_cast<const char*>(block.data()),
                      static_cast<qint64>(block.size() * sizeof(qint16))))
            return {};
        progress.framesRendered += BlockFrames;
    }
    // The song ends with the block that held its last event; what follows is
    // the player's grace period, not music.
    const qint64 frames = std::min(progress.framesRendered, progress.lastEventFrame + BlockFrames);
    if (progress.lastEventFrame < 0 || frames < MinFrames) return {};

    const QByteArray header = wavHeader(SampleRate, Channels, frames);
    if (::ftruncate(out.fd, HeaderBytes + frames * Channels * static_cast<qint64>(sizeof(qint16))) != 0 ||
        ::lseek(out.fd, 0, SEEK_SET) != 0 || !writeAll(out.fd, header.constData(), header.size()) ||
        ::lseek(out.fd, 0, SEEK_SET) != 0)
        return {};
    return {out.release(), static_cast<double>(frames) / SampleRate};
}

}  // namespace sorinel::platform::midi
