// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the engine's messages go. A person who starts the player from a
// terminal sees nothing of them in ordinary use: the engine's own log is not
// asked for, and the sound libraries it probes on a machine without sound
// (ALSA, PipeWire, sndio) are kept from printing their complaints about each
// file.
//
// SORINEL_ENGINE_LOG=LEVEL (fatal, error, warn, info, status, v, debug,
// trace) prints the engine's messages from that level up on standard error,
// and lets the sound libraries speak as they normally do.

#include <QByteArray>

namespace sorinel::platform {

inline constexpr const char* EngineLogVariable = "SORINEL_ENGINE_LOG";

// The engine's name for the level asked for; "no" when none (or an unknown
// one) is asked for.
QByteArray engineLogLevel(const QByteArray& variableValue);
QByteArray engineLogLevel();

// Once per process, before the engine is first made.
void quietSoundLibraries();

void printEngineMessage(const char* prefix, const char* level, const char* text);

// SORINEL_TRACE=1 prints each step from a click to the first picture on
// standard error, after the milliseconds of the monotonic clock: where the
// time of a file change goes.
void traceStep(const char* step);

// Keeps standard error quiet for its lifetime unless the engine's log was
// asked for. Making the engine's OpenGL renderer probes every way of hardware
// decoding it was built with, and the CUDA loader prints "Cannot load
// libcuda.so.1" straight to standard error on every machine without an
// NVIDIA driver; the engine's own log cannot catch that line.
class QuietStandardError {
public:
    QuietStandardError();
    ~QuietStandardError();
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

private:
    int saved_ = -1;
};

}  // namespace sorinel::platform
