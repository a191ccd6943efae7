// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/engine/engine.h"

#include "platform/engine/mpv_events.h"
#include "platform/engine/mpv_handle.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

namespace sorinel::platform {

namespace {

// mpv takes a bare path starting with "-" or holding "scheme://" as an
// option or a URL; an absolute path is always taken as a file. Bytes, so that
// a name that is not UTF-8 reaches the file system unchanged.
QByteArray engineTarget(const QByteArray& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path.toStdString(), error);
    return error ? path : QByteArray::fromStdString(absolute.native());
}

// Balance as a filter chain: the far side is attenuated, the near side kept.
QString balanceFilter(int balance) {
    if (balance == 0) return {};
    const double left = balance > 0 ? 1.0 - balance / 100.0 : 1.0;
    const double right = balance < 0 ? 1.0 + balance / 100.0 : 1.0;
    return QString("lavfi=[aformat=channel_layouts=stereo,pan=stereo|c0=%1*c0|c1=%2*c1]")
        .arg(left, 0, 'f', 3)
        .arg(right, 0, 'f', 3);
}

}  // namespace

Engine::Engine(QObject* parent)
    : QObject(parent), mpv_(std::make_unique<MpvHandle>()), pump_(std::make_unique<MpvEventPump>(*mpv_)) {
    connect(pump_.get(), &MpvEventPump::fileStarted, this, &Engine::fileStarted);
    connect(pump_.get(), &MpvEventPump::fileLoaded, this, &Engine::fileLoaded);
    connect(pump_.get(), &MpvEventPump::playbackRestarted, this, &Engine::playbackRestarted);
    connect(pump_.get(), &MpvEventPump::fileEnded, this, &Engine::fileEnded);
    connect(pump_.get(), &MpvEventPump::eofReachedChanged, this, [this](bool reached) {
        if (reached) emit endReached();
    });
    connect(pump_.get(), &MpvEventPump::videoPresenceChanged, this, &Engine::videoPresenceChanged);
    connect(pump_.get(), &MpvEventPump::videoTrackChanged, this, &Engine::videoTrackChanged);
    connect(pump_.get(), &MpvEventPump::positionChanged, this, &Engine::positionChanged);
    connect(pump_.get(), &MpvEventPump::durationChanged, this, &Engine::durationChanged);
}

// The pump goes first: it holds the handle.
Engine::~Engine() { pump_.reset(); }

bool Engine::valid() const { return mpv_->valid(); }

// The engine's pause is its own, not the file's: a file that reached its end
// is paused there by the engine (keep-open), and a pause cleared before the
// next load could be put back by the engine before the load is seen, so the
// new file would open paused. Set only once the load has been handed over,
// when the old file no longer runs into its end.
long long Engine::load(const QByteArray& path, bool playing) {
    const long long entry = mpv_->loadFile(engineTarget(path));
    setPaused(!playing);
    return entry;
}

long long Engine::loadDescriptor(int fd, bool playing) {
    // fdclose: the engine closes the descriptor with the file.
    const long long entry = mpv_->loadFile(QString("fdclose://%1").arg(fd));
    if (entry < 0) ::close(fd);
    setPaused(!playing);
    return entry;
}

bool Engine::opensAsPlayList(const QByteArray& path) {
    struct stat st {};
    return ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

void Engine::unload() { mpv_->command({"stop"}); }

void Engine::setPaused(bool paused) { mpv_->setFlag("pause", paused); }
bool Engine::paused() const { return mpv_->getFlag("pause").value_or(false); }

// Absolute seeks are exact in mpv by default, not snapped to key frames.
bool Engine::seek(double seconds) {
    return mpv_->command({"seek", QString::number(seconds, 'f', 3), "absolute"}) >= 0;
}

void Engine::setVolume(double volume) { mpv_->setDouble("volume", volume); }
void Engine::setMute(bool on) { mpv_->setFlag("mute", on); }
void Engine::setSpeed(double rate) { mpv_->setDouble("speed", rate); }
void Engine::setBalance(int balance) { mpv_->setString("af", balanceFilter(balance)); }
void Engine::setStretchToFit(bool on) { mpv_->setString("video-unscaled", on ? "no" : "downscale-big"); }
// Without a GPU, probing for hardware decoding costs time and prints the
// drivers' complaints.
void Engine::setHardwareDecoding(bool on) { mpv_->setString("hwdec", on ? "auto-safe" : "no"); }

std::optional<double> Engine::position() const { return mpv_->getDouble("time-pos"); }
std::optional<double> Engine::duration() const { return mpv_->getDouble("duration"); }
bool Engine::showsVideo() const { return currentFileShowsVideo(*mpv_); }

mpv_handle* Engine::renderSource() const { return mpv_->get(); }

// With OpenGL on the CPU (chosen on Wayland, or asked for), the engine's
// default scalers cost that CPU dearly, and with them libmpv 0.40 on a
// virtual X server drew some files black from start to end.
void Engine::useCheapScaling() {
    for (const char* scaler : {"scale", "cscale", "dscale"}) mpv_->setString(scaler, QStringLiteral("bilinear"));
}

}  // namespace sorinel::platform
