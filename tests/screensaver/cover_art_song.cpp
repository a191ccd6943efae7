// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cover_art_song.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace sorinel::testing {

QString makeCoverArtSong(const QString& dir) {
    const QString song = QDir(dir).filePath("cover.mp3");
    QProcess ffmpeg;
    ffmpeg.start(
        "ffmpeg",
        {"-nostdin", "-y", "-loglevel", "error", "-f", "lavfi", "-i", "sine=frequency=440:duration=3",
         // One frame: an endless picture source would never end the file.
         "-f", "lavfi", "-i", "color=c=red:size=64x64:duration=0.04:rate=25", "-map", "0:a", "-map", "1:v", "-c:a",
         "libmp3lame", "-c:v", "mjpeg", "-disposition:v", "attached_pic", "-id3v2_version", "3", song});
    if (!ffmpeg.waitForFinished(20000) || ffmpeg.exitCode() != 0) return {};
    return QFile::exists(song) ? song : QString();
}

}  // namespace sorinel::testing
