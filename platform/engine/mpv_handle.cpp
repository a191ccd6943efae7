// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/engine/mpv_handle.h"

#include "platform/engine/engine_log.h"
#include "platform/engine/sound_output_choice.h"

#include <mpv/client.h>

#include <clocale>
#include <string_view>
#include <vector>

namespace sorinel::platform {

namespace {

void setOption(mpv_handle* h, const char* name, const char* value) { mpv_set_option_string(h, name, value); }

// An option the engine renamed: the current name where the engine knows it,
// the old one otherwise. Setting an unknown name fails without a message,
// while the old name on a newer engine prints a warning on every start.
void setRenamedOption(mpv_handle* h, const char* name, const char* oldName, const char* value) {
    if (mpv_set_option_string(h, name, value) == MPV_ERROR_OPTION_NOT_FOUND) mpv_set_option_string(h, oldName, value);
}

}  // namespace

MpvHandle::MpvHandle() {
    // mpv parses and prints numbers with the C locale; a German or French
    // locale would turn "0.5" into 0 without a word.
    std::setlocale(LC_NUMERIC, "C");
    const QByteArray logLevel = engineLogLevel();
    if (logLevel == "no") quietSoundLibraries();
    handle_ = mpv_create();
    if (!handle_) return;
    if (logLevel != "no") mpv_request_log_messages(handle_, logLevel.constData());

    // Embedded: nothing from the user's mpv set-up, no keys or mouse handled
    // by mpv itself, no scripts, no network helpers.
    setOption(handle_, "config", "no");
    setOption(handle_, "load-scripts", "no");
    setOption(handle_, "ytdl", "no");
    setOption(handle_, "osc", "no");
    // The engine's own scripts (statistics overlay, console, profile rules)
    // would each start a Lua thread that sets up fonts for an overlay the
    // player never shows.
    setOption(handle_, "load-stats-overlay", "no");
    setRenamedOption(handle_, "load-console", "load-osd-console", "no");
    setOption(handle_, "load-auto-profiles", "no");
    setOption(handle_, "input-default-bindings", "no");
    setOption(handle_, "input-vo-keyboard", "no");
    setOption(handle_, "input-terminal", "no");
    setOption(handle_, "terminal", "no");
    setOption(handle_, "osd-level", "0");

    // A finished file stays loaded (paused at its end) so that its length
    // and position remain readable and play() can start it again.
    setOption(handle_, "idle", "yes");
    setOption(handle_, "keep-open", "yes");
    setOption(handle_, "keep-open-pause", "yes");
    setOption(handle_, "force-window", "no");

    // The video goes to the player's own window through the render API.
    // Hardware decoding is chosen with the way of drawing; off until then.
    setOption(handle_, "vo", "libmpv");
    setOption(handle_, "hwdec", "no");
    // The engine hands each frame over when it is due, not ahead of time:
    // otherwise every render on the GUI thread waits there for the frame's
    // display time (up to one frame), and a click that comes meanwhile, or
    // the next file's first frame, waits behind it.
    setOption(handle_, "video-timing-offset", "0");
    // Without this the render API refuses software OpenGL (llvmpipe) when
    // OpenGL drawing is forced on a machine without a GPU driver.
    setOption(handle_, "gpu-sw", "yes");

    // The desktop's sound where there is one; with no sound device at all the
    // files still play silently and end on time.
    setOption(handle_, "audio-fallback-to-null", "yes");
    setOption(handle_, "audio-display", "no");
    // One sound format for every file, so that the engine keeps its sound
    // output open from one file to the next (it reopens it whenever the
    // format changes). Opening it anew on a sound server that renders ahead
    // while idle holds the new file's start back, picture and all, by up to
    // two seconds. The server mixes at a rate of its own in any case.
    setOption(handle_, "audio-samplerate", "48000");
    setOption(handle_, "audio-format", "float");

    if (mpv_initialize(handle_) < 0) {
        mpv_terminate_destroy(handle_);
        handle_ = nullptr;
    }
}

MpvHandle::~MpvHandle() {
    if (handle_) mpv_terminate_destroy(handle_);
}

int MpvHandle::command(const QStringList& args) const {
    if (!handle_) return MPV_ERROR_UNINITIALIZED;
    std::vector<QByteArray> utf8;
    utf8.reserve(args.size());
    for (const QString& a : args) utf8.push_back(a.toUtf8());
    std::vector<const char*> argv;
    for (const QByteArray& a : utf8) argv.push_back(a.constData());
    argv.push_back(nullptr);
    return mpv_command(handle_, argv.data());
}

long long MpvHandle::loadFile(const QString& target) const { return loadFile(target.toUtf8()); }

// Asked again for each file: a sound server started meanwhile is heard from
// the next file on.
void MpvHandle::chooseSoundOutput() const {
    const char* wanted = soundOutputFor(SoundPlaces::ofThisSession());
    if (std::string_view(wanted) != soundOutput_) {
        mpv_set_property_string(handle_, "ao", wanted);  // opens the output anew
        soundOutput_ = wanted;
        return;
    }
    // The engine fell back to silence when its sound server went away, and
    // keeps an open output from file to file: a server that may be back is
    // tried again.
    if (std::string_view(wanted) == "null") return;
    mpv_node current{};
    if (mpv_get_property(handle_, "current-ao", MPV_FORMAT_NODE, &current) < 0) return;
    const bool silent = current.format == MPV_FORMAT_STRING && std::string_view(current.u.string) == "null";
    mpv_free_node_contents(&current);
    if (silent) {
        const char* argv[] = {"ao-reload", nullptr};
        mpv_command(handle_, argv);
    }
}

long long MpvHandle::loadFile(const QByteArray& target) const {
    if (!handle_) return -1;
    chooseSoundOutput();
    const char* argv[] = {"loadfile", target.constData(), "replace", nullptr};
    mpv_node result;
    if (mpv_command_ret(handle_, argv, &result) < 0) return -1;
    long long id = 0;
    if (result.format == MPV_FORMAT_NODE_MAP) {
        for (int i = 0; i < result.u.list->num; ++i) {
            if (std::string_view(result.u.list->keys[i]) == "playlist_entry_id" &&
                result.u.list->values[i].format == MPV_FORMAT_INT64) {
                id = result.u.list->values[i].u.int64;
            }
        }
    }
    mpv_free_node_contents(&result);
    return id;
}

void MpvHandle::setFlag(const char* name, bool on) const {
    if (!handle_) return;
    int flag = on ? 1 : 0;
    mpv_set_property(handle_, name, MPV_FORMAT_FLAG, &flag);
}

void MpvHandle::setDouble(const char* name, double value) const {
    if (!handle_) return;
    mpv_set_property(handle_, name, MPV_FORMAT_DOUBLE, &value);
}

void MpvHandle::setString(const char* name, const QString& value) const {
    if (!handle_) return;
    mpv_set_property_string(handle_, name, value.toUtf8().constData());
}

std::optional<double> MpvHandle::getDouble(const char* name) const {
    if (!handle_) return std::nullopt;
    double value = 0;
    if (mpv_get_property(handle_, name, MPV_FORMAT_DOUBLE, &value) < 0) return std::nullopt;
    return value;
}

std::optional<bool> MpvHandle::getFlag(const char* name) const {
    if (!handle_) return std::nullopt;
    int flag = 0;
    if (mpv_get_property(handle_, name, MPV_FORMAT_FLAG, &flag) < 0) return std::nullopt;
    return flag != 0;
}

}  // namespace sorinel::platform
