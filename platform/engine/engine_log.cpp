// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/engine/engine_log.h"

#include <alsa/asoundlib.h>

#include <QtGlobal>
#include <cstdio>
#include <ctime>
#include <mutex>

#include <fcntl.h>
#include <unistd.h>

namespace sorinel::platform {

namespace {

void ignoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

QByteArray engineLogLevel(const QByteArray& variableValue) {
    const QByteArray level = variableValue.trimmed().toLower();
    for (const char* known : {"fatal", "error", "warn", "info", "status", "v", "debug", "trace"})
        if (level == known) return level;
    return "no";
}

void traceStep(const char* step) {
    static const bool on = qEnvironmentVariableIntValue("SORINEL_TRACE") != 0;
    if (!on) return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::fprintf(stderr, "%.1f %s\n", now.tv_sec * 1e3 + now.tv_nsec / 1e6, step);
}

QByteArray engineLogLevel() { return engineLogLevel(qgetenv(EngineLogVariable)); }

void quietSoundLibraries() {
    static std::once_flag once;
    std::call_once(once, [] {
        // ALSA's default handler prints about eight lines for every file
        // when there is no sound card; the engine then goes on to the next
        // way of playing sound by itself.
        snd_lib_error_set_handler(&ignoreAlsaMessage);
        // PipeWire's client library reads this when the engine first opens
        // it; a person who set it keeps their own.
        if (!qEnvironmentVariableIsSet("PIPEWIRE_DEBUG")) qputenv("PIPEWIRE_DEBUG", "0");
        // sndio, the engine's last way of playing sound, falls back to
        // ALSA's default device itself when no sndio server runs, and prints
        // that device's failure straight to standard error. The engine has
        // just tried the same device through ALSA, so sndio is told to look
        // for its server only, unless a person named a device.
        if (!qEnvironmentVariableIsSet("AUDIOPLAYDEVICE") && !qEnvironmentVariableIsSet("AUDIODEVICE"))
            qputenv("AUDIOPLAYDEVICE", "snd/default");
    });
}

void printEngineMessage(const char* prefix, const char* level, const char* text) {
    // The engine's text ends with its own line break.
    std::fprintf(stderr, "sorinel: engine %s [%s] %s", level, prefix, text);
}

QuietStandardError::QuietStandardError() {
    if (engineLogLevel() != "no") return;
    const int nothing = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (nothing < 0) return;
    std::fflush(stderr);
    saved_ = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
    if (saved_ >= 0) ::dup2(nothing, STDERR_FILENO);
    ::close(nothing);
}

QuietStandardError::~QuietStandardError() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    ::dup2(saved_, STDERR_FILENO);
    ::close(saved_);
}

}  // namespace sorinel::platform
