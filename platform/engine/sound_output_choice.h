// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether anything on this machine could take the program's sound. Where
// nothing could (no sound server, no sound card, no sound set-up of the
// system's or the user's own), the engine is told to play silently at once:
// finding that out itself, it tries each of its sound outputs in turn for
// the first file, and JACK alone takes some 30 ms, all before the first
// picture.

#include <QByteArray>
#include <QString>

namespace sorinel::platform {

// The places looked at: the file system from `root`, and the variables a
// sound server is found by.
struct SoundPlaces {
    QString root = QStringLiteral("/");
    QByteArray runtimeDir;      // XDG_RUNTIME_DIR
    QByteArray home;            // HOME
    QByteArray pulseServer;     // PULSE_SERVER
    QByteArray pipewireRemote;  // PIPEWIRE_REMOTE
    static SoundPlaces ofThisSession();
};

bool soundCanBeHeard(const SoundPlaces& places);

// The engine's value of "ao": silence where nothing could take the sound;
// its own order (PipeWire first) where a PipeWire server runs; elsewhere the
// same order without PipeWire, whose client library, installed without its
// configuration, prints its complaints on the terminal by itself whenever it
// is tried.
const char* soundOutputFor(const SoundPlaces& places);

}  // namespace sorinel::platform
