// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// MIDI files through libfluidsynth: mpv cannot decode MIDI, so the music is
// synthesised with a General MIDI sound font into a WAV held in an anonymous
// memory file, which mpv then plays like any other file. Nothing is written
// to disk.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace sorinel::platform::midi {

// A .mid/.midi name, or content that starts with the "MThd" signature. Paths
// here are as the file system names them (a name need not be UTF-8).
bool isMidiFile(const QByteArray& nativePath);

// The sound font to use: the General MIDI font if installed, else any .sf2
// in the same directory; empty when there is none.
QString findSoundFont(const QStringList& searchDirs = {"/usr/share/sounds/sf2"});

// The 44-byte header of a 16-bit PCM WAV holding `frames` frames.
QByteArray wavHeader(int sampleRate, int channels, qint64 frames);

struct Rendering {
    int fd = -1;         // memory file holding the WAV, at offset 0; -1 on failure
    double seconds = 0;  // length of the music
};

// Renders the MIDI file to a WAV in memory, stopping when the music ends
// (no release tail). Slow for long files: call it off the GUI thread. The
// caller owns the returned descriptor.
Rendering renderToMemoryWav(const QByteArray& nativeMidiPath, const QString& soundFont);

}  // namespace sorinel::platform::midi
