#pragma once
// A private sound server for one test: PulseAudio with a single null sink,
// on a socket of its own, so the player has a sound device that the test can
// take away while a file plays.

#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>

#include <cstdlib>

#include "desktop.h"

namespace sorinel::testing {

class NullSoundServer {
public:
    // Starts the server; why it could not start is in whyNot().
    NullSoundServer() {
        const QString program = QStandardPaths::findExecutable("pulseaudio");
        if (program.isEmpty() || QStandardPaths::findExecutable("pactl").isEmpty()) {
            whyNot_ = "pulseaudio and pactl are not installed (scripts/setup.sh installs them)";
            return;
        }
        installed_ = true;
        // Its own home and runtime folder: nothing of a desktop's sound set-up
        // is touched, and a server started as root runs all the same.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", dir_.path());
        env.insert("XDG_RUNTIME_DIR", dir_.path());
        env.insert("XDG_CONFIG_HOME", dir_.path());
        server_.setProcessEnvironment(env);
        server_.setProcessChannelMode(QProcess::MergedChannels);
        server_.start(program, {"-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit", "--use-pid-file=no",
                                "--log-target=stderr", "-L",
                                "module-native-protocol-unix socket=" + socket() + " auth-anonymous=1", "-L",
                                "module-null-sink sink_name=sorinel_null"});
        if (!server_.waitForStarted(5000) || !waitUntil(
                                                 [&] {
                                                     return pactl({"list", "short", "sinks"}).contains("sorinel_null");
                                                 },
                                                 10000)) {
            whyNot_ = "pulseaudio did not start: " + QString::fromUtf8(server_.readAll()).left(400);
            return;
        }
        running_ = true;
    }
    ~NullSoundServer() {
        if (server_.state() != QProcess::NotRunning) {
            server_.terminate();
            if (!server_.waitForFinished(3000)) server_.kill();
            server_.waitForFinished(3000);
        }
    }

    // Installed: the test machine is meant to run it, so a server that then
    // does not start is a failure to look into, not a reason to skip.
    bool installed() const { return installed_; }
    bool running() const { return running_; }
    QString whyNot() const { return whyNot_; }
    // What a client sets PULSE_SERVER to.
    QString address() const { return "unix:" + socket(); }

    // Streams playing into the sink now.
    int streams() const { return pactl({"list", "short", "sink-inputs"}).count('\n'); }
    // The sound device goes away: the sink's module is unloaded.
    bool removeSink() const {
        pactl({"unload-module", "module-null-sink"});
        return !pactl({"list", "short", "sinks"}).contains("sorinel_null");
    }

private:
    QString socket() const { return dir_.path() + "/native"; }
    QString pactl(const QStringList& args) const {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PULSE_SERVER", address());
        p.setProcessEnvironment(env);
        p.start("pactl", args);
        if (!p.waitForFinished(5000)) p.kill();
        return QString::fromUtf8(p.readAllStandardOutput());
    }

    QTemporaryDir dir_;
    QProcess server_;
    bool installed_ = false;
    bool running_ = false;
    QString whyNot_;
};

}  // namespace sorinel::testing
