// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A private sound server for one test, playing into a single null sink, so
// the player meets a sound server as on a desktop and the test can take the
// sound device away while a file plays. Two kinds:
//   - PulseAudio with a null sink, on a socket of its own;
//   - PipeWire headless, as current desktops have it: pipewire, its session
//     manager (wireplumber, on a session bus of the server's own) and its
//     PulseAudio service, with a null sink made as the default sink.
// SoundEnvironment points this process (and the engine inside it) at one
// server, or at none at all.

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>
#include <QThread>

#include <cstdlib>
#include <memory>
#include <optional>
#include <ostream>
#include <utility>
#include <vector>

#include "desktop.h"

namespace sorinel::testing {

enum class SoundServerKind { None, PulseAudio, PipeWire };

inline const char* nameOf(SoundServerKind kind) {
    switch (kind) {
    case SoundServerKind::PulseAudio:
        return "PulseAudio";
    case SoundServerKind::PipeWire:
        return "PipeWire";
    default:
        return "no sound server";
    }
}

// What a failing parameterised test prints.
inline void PrintTo(SoundServerKind kind, std::ostream* os) { *os << nameOf(kind); }

// SORINEL_SOUND_SERVER=none|pulse|pipewire, as ctest gives each run of a test.
inline SoundServerKind soundServerFromEnvironment() {
    const QByteArray kind = qgetenv("SORINEL_SOUND_SERVER");
    if (kind == "pulse") return SoundServerKind::PulseAudio;
    if (kind == "pipewire") return SoundServerKind::PipeWire;
    return SoundServerKind::None;
}

class NullSoundServer {
public:
    // Starts the server; why it could not start is in whyNot().
    explicit NullSoundServer(SoundServerKind kind = SoundServerKind::PulseAudio) : kind_(kind) {
        if (kind == SoundServerKind::PulseAudio) startPulseAudio();
        if (kind == SoundServerKind::PipeWire) startPipeWire();
    }
    ~NullSoundServer() {
        // The last started first: the services before the server they use.
        for (auto it = processes_.rbegin(); it != processes_.rend(); ++it) {
            QProcess& p = **it;
            if (p.state() == QProcess::NotRunning) continue;
            p.terminate();
            if (!p.waitForFinished(3000)) p.kill();
            p.waitForFinished(3000);
        }
    }
    NullSoundServer(const NullSoundServer&) = delete;
    NullSoundServer& operator=(const NullSoundServer&) = delete;

    SoundServerKind kind() const { return kind_; }
    // Installed: the test machine is meant to run it, so a server that then
    // does not start is a failure to look into, not a reason to skip.
    bool installed() const { return installed_; }
    bool running() const { return running_; }
    QString whyNot() const { return whyNot_; }
    // What a PulseAudio client sets PULSE_SERVER to (PipeWire's PulseAudio
    // service for a PipeWire server).
    QString address() const { return "unix:" + pulseSocket(); }
    // The server's runtime folder, where its clients find its sockets.
    QString runtimeDir() const { return dir_.path(); }

    // Streams playing into the server now.
    int streams() const { return pactl({"list", "short", "sink-inputs"}).count('\n'); }
    // The sound device goes away: the sink's module is unloaded (PulseAudio).
    bool removeSink() const {
        pactl({"unload-module", "module-null-sink"});
        return !pactl({"list", "short", "sinks"}).contains(kPulseSink);
    }
    // The server goes away as in a crash, leaving its socket behind, and is
    // started again on the same socket (PulseAudio).
    void crash() {
        for (auto& p : processes_) p->kill(), p->waitForFinished(3000);
        running_ = false;
    }
    bool restart() {
        startPulseAudio();
        return running_;
    }

private:
    static constexpr const char* kPulseSink = "sorinel_null";

    void startPulseAudio() {
        const QString program = QStandardPaths::findExecutable("pulseaudio");
        if (program.isEmpty() || QStandardPaths::findExecutable("pactl").isEmpty()) {
            whyNot_ = "pulseaudio and pactl are not installed (scripts/setup.sh installs them)";
            return;
        }
        installed_ = true;
        QProcess& server = start(program, {"-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit",
                                           "--use-pid-file=no", "--log-target=stderr", "-L",
                                           "module-native-protocol-unix socket=" + pulseSocket() + " auth-anonymous=1",
                                           "-L", QString("module-null-sink sink_name=") + kPulseSink});
        if (!server.waitForStarted(5000) || !waitUntil(
                                                [&] {
                                                    return pactl({"list", "short", "sinks"}).contains(kPulseSink);
                                                },
                                                10000)) {
            whyNot_ = "pulseaudio did not start: " + QString::fromUtf8(server.readAll()).left(400);
            return;
        }
        running_ = true;
    }

    void startPipeWire() {
        for (const char* program : {"pipewire", "wireplumber", "pipewire-pulse", "pw-cli", "pactl", "dbus-daemon"}) {
            if (QStandardPaths::findExecutable(program).isEmpty()) {
                whyNot_ = QString("%1 is not installed (scripts/setup.sh installs PipeWire's packages)").arg(program);
                return;
            }
        }
        installed_ = true;
        // The session manager talks to the session bus: a bus of the server's
        // own, so that nothing of the test's bus (or a desktop's) is touched.
        const QString bus = "unix:path=" + dir_.filePath("bus");
        start("dbus-daemon", {"--session", "--nofork", "--nopidfile", "--address=" + bus});
        if (!waitUntil([&] { return QFileInfo::exists(dir_.filePath("bus")); }, 10000))
            return fail("the session bus for PipeWire did not start");
        env_.insert("DBUS_SESSION_BUS_ADDRESS", bus);
        QProcess& server = start("pipewire", {});
        if (!waitUntil([&] { return QFileInfo::exists(dir_.filePath("pipewire-0")); }, 10000))
            return fail("pipewire did not start: " + QString::fromUtf8(server.readAll()).left(400));
        start("wireplumber", {});
        start("pipewire-pulse", {});
        if (!waitUntil([&] { return QFileInfo::exists(pulseSocket()); }, 10000))
            return fail("pipewire-pulse did not start");
        // The session manager takes a moment before it makes a new sink the
        // default: the node is made, then waited for as the default.
        QProcess node;
        node.setProcessEnvironment(env_);
        node.start("pw-cli", {"create-node", "adapter",
                              "{ factory.name=support.null-audio-sink node.name=nullsink media.class=Audio/Sink "
                              "object.linger=true audio.position=[FL FR] }"});
        if (!node.waitForFinished(10000) || node.exitCode() != 0)
            return fail("pw-cli could not make the null sink: " + QString::fromUtf8(node.readAll()).left(400));
        if (!waitUntil([&] { return pactl({"info"}).contains("Default Sink: nullsink"); }, 10000))
            return fail("the null sink did not become PipeWire's default sink");
        running_ = true;
    }

    void fail(const QString& why) { whyNot_ = why; }

    // A server process with its own home and runtime folder: nothing of a
    // desktop's sound set-up is touched, and a server started as root runs
    // all the same.
    QProcess& start(const QString& program, const QStringList& args) {
        if (env_.isEmpty()) {
            env_ = QProcessEnvironment::systemEnvironment();
            for (const char* name : {"HOME", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_DATA_HOME"})
                env_.insert(name, dir_.path());
            env_.remove("PULSE_SERVER");
            env_.remove("PIPEWIRE_REMOTE");
            env_.remove("DBUS_SESSION_BUS_ADDRESS");
        }
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(env_);
        process->setProcessChannelMode(QProcess::MergedChannels);
        process->start(program, args);
        process->waitForStarted(5000);
        processes_.push_back(std::move(process));
        return *processes_.back();
    }

    QString pulseSocket() const {
        return kind_ == SoundServerKind::PipeWire ? dir_.filePath("pulse/native") : dir_.filePath("native");
    }
    QString pactl(const QStringList& args) const {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PULSE_SERVER", address());
        p.setProcessEnvironment(env);
        p.start("pactl", args);
        if (!p.waitForFinished(5000)) p.kill();
        return QString::fromUtf8(p.readAllStandardOutput());
    }

    SoundServerKind kind_;
    QTemporaryDir dir_;
    QProcessEnvironment env_;
    std::vector<std::unique_ptr<QProcess>> processes_;
    bool installed_ = false;
    bool running_ = false;
    QString whyNot_;
};

// Points this process at one sound server, or at none (an empty runtime
// folder and no server named), for as long as it lives; what was set before
// comes back after. The engine looks for a server again at every file.
class SoundEnvironment {
public:
    explicit SoundEnvironment(const NullSoundServer* server) {
        for (const char* name : kNames)
            saved_.emplace_back(
                name, qEnvironmentVariableIsSet(name) ? std::optional<QByteArray>(qgetenv(name)) : std::nullopt);
        qunsetenv("PULSE_SERVER");
        qunsetenv("PIPEWIRE_REMOTE");
        if (server && server->kind() == SoundServerKind::PulseAudio) {
            qputenv("PULSE_SERVER", server->address().toUtf8());
            qputenv("XDG_RUNTIME_DIR", empty_.path().toUtf8());
        } else if (server && server->kind() == SoundServerKind::PipeWire) {
            // PipeWire's own clients find it here, PulseAudio's under pulse/.
            qputenv("XDG_RUNTIME_DIR", server->runtimeDir().toUtf8());
        } else {
            qputenv("XDG_RUNTIME_DIR", empty_.path().toUtf8());
        }
    }
    ~SoundEnvironment() {
        for (const auto& [name, value] : saved_) {
            if (value)
                qputenv(name, *value);
            else
                qunsetenv(name);
        }
    }
    SoundEnvironment(const SoundEnvironment&) = delete;
    SoundEnvironment& operator=(const SoundEnvironment&) = delete;

private:
    static constexpr const char* kNames[] = {"PULSE_SERVER", "PIPEWIRE_REMOTE", "XDG_RUNTIME_DIR"};
    QTemporaryDir empty_;
    std::vector<std::pair<const char*, std::optional<QByteArray>>> saved_;
};

}  // namespace sorinel::testing
