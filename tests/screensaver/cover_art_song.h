// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An MP3 carrying its album's cover picture (an attached-picture video
// stream), made with the ffmpeg command line.

#include <QString>

namespace sorinel::testing {

// Writes dir/cover.mp3 (three seconds) and returns its path, or an empty
// string when ffmpeg failed.
QString makeCoverArtSong(const QString& dir);

}  // namespace sorinel::testing
