// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/engine/sound_output_choice.h"

#include <QDir>
#include <QFileInfo>

#include <unistd.h>

namespace sorinel::platform {

namespace {

bool exists(const QString& path) { return QFileInfo::exists(path); }

// Entries of `folder` whose names start with `prefix`.
bool anyEntry(const QString& folder, const QString& prefix) {
    return !QDir(folder).entryList({prefix + QLatin1Char('*')}, QDir::AllEntries | QDir::System).isEmpty();
}

// `name` in the folder `dir` (absolute, as the session names it) below `root`.
bool existsUnder(const QString& root, const QByteArray& dir, const char* name) {
    return !dir.isEmpty() && exists(QDir(root + QString::fromLocal8Bit(dir)).filePath(QLatin1String(name)));
}

QString rootOf(const SoundPlaces& places) { return QDir(places.root).absolutePath() + QLatin1Char('/'); }

}  // namespace

SoundPlaces SoundPlaces::ofThisSession() {
    SoundPlaces places;
    places.runtimeDir = qgetenv("XDG_RUNTIME_DIR");
    // Where the sound servers look without it.
    if (places.runtimeDir.isEmpty()) places.runtimeDir = "/run/user/" + QByteArray::number(getuid());
    places.home = qgetenv("HOME");
    places.pulseServer = qgetenv("PULSE_SERVER");
    places.pipewireRemote = qgetenv("PIPEWIRE_REMOTE");
    return places;
}

bool soundCanBeHeard(const SoundPlaces& places) {
    // A server named outright may be on another machine.
    if (!places.pulseServer.isEmpty() || !places.pipewireRemote.isEmpty()) return true;
    const QString root = rootOf(places);
    const auto under = [&](const QByteArray& dir, const char* name) { return existsUnder(root, dir, name); };
    // Sound servers: PipeWire and PulseAudio of the session or the system, JACK.
    if (under(places.runtimeDir, "pipewire-0") || under(places.runtimeDir, "pulse/native")) return true;
    if (exists(root + QStringLiteral("run/pulse/native")) ||
        anyEntry(root + QStringLiteral("dev/shm"), QStringLiteral("jack")))
        return true;
    // Sound cards (ALSA, OSS), and ALSA set up to send the sound elsewhere.
    if (anyEntry(root + QStringLiteral("dev/snd"), QStringLiteral("pcm")) || exists(root + QStringLiteral("dev/dsp")))
        return true;
    return exists(root + QStringLiteral("etc/asound.conf")) || under(places.home, ".asoundrc");
}

const char* soundOutputFor(const SoundPlaces& places) {
    if (!soundCanBeHeard(places)) return "null";
    const bool pipewire =
        !places.pipewireRemote.isEmpty() || existsUnder(rootOf(places), places.runtimeDir, "pipewire-0");
    return pipewire ? "" : "pulse,alsa,jack";
}

}  // namespace sorinel::platform
