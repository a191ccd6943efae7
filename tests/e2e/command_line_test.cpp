// The program as a file manager starts it ("sorinel %f"), seen from outside:
// the real program on the test's own display and session bus, what it plays
// read the way a desktop reads it (MPRIS, the files the process holds open),
// what it says on standard error, and a second start that hands its file to
// the first. playerctl opens files through MPRIS OpenUri as any program of
// the session could.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <memory>

#include "desktop.h"
#include "window/media_target.h"

namespace {

using sorinel::testing::pumpFor;
using sorinel::testing::run;
using sorinel::testing::waitUntil;

QByteArray bytesOf(const QString& path) { return QFile::encodeName(path); }

// A command to its end, with its exit code and both outputs.
struct Ran {
    int code = -1;
    QString out, err;
};
Ran runFully(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(15000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()).trimmed(), QString::fromUtf8(p.readAllStandardError()).trimmed()};
}

QString playerctl(const QStringList& args) { return runFully("playerctl", QStringList{"--player=sorinel"} + args).out; }

// The media file the engine holds open: the name's real bytes, whatever
// they are.
QByteArray openMediaFile(qint64 pid) {
    const QString fds = QStringLiteral("/proc/%1/fd").arg(pid);
    for (const QString& fd : QDir(fds).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        QByteArray target(4096, '\0');
        const ssize_t n = ::readlink(QFile::encodeName(fds + '/' + fd).constData(), target.data(), target.size());
        if (n <= 0) continue;
        target.truncate(n);
        for (const char* kind : {".mpg", ".wav", ".mp3", ".wma"})
            if (target.endsWith(kind)) return target;
    }
    return {};
}

class Sorinel {
public:
    Sorinel(const QList<QByteArray>& args, const QString& workingDirectory, const QString& busAddress = QString()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (!busAddress.isEmpty()) env.insert("DBUS_SESSION_BUS_ADDRESS", busAddress);
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(workingDirectory);
        // QProcess takes text arguments, and a name need not be UTF-8: the
        // shell hands on each argument's bytes, written out in octal.
        QString script = QStringLiteral("exec \"$0\"");
        for (const QByteArray& a : args) {
            QString octal;
            for (char c : a) octal += QStringLiteral("\\%1").arg(static_cast<unsigned char>(c), 3, 8, QChar(u'0'));
            script += QStringLiteral(" \"$(printf '%1')\"").arg(octal);
        }
        process.start("/bin/sh", {"-c", script, SORINEL_PROGRAM});
        process.waitForStarted(5000);
    }
    ~Sorinel() { stop(); }

    void stop() {
        if (process.state() == QProcess::NotRunning) return;
        ::kill(static_cast<pid_t>(process.processId()), SIGCONT);
        process.kill();
        process.waitForFinished(5000);
    }
    bool running() const { return process.state() == QProcess::Running; }
    qint64 pid() const { return process.processId(); }
    // Waits for the program's window on the display.
    bool showsWindow() {
        return waitUntil(
            [&] {
                return !run("xdotool", {"search", "--onlyvisible", "--pid", QString::number(pid()), "--name", "Sorinel"})
                            .isEmpty();
            },
            15000);
    }
    QStringList errorLines() {
        err += QString::fromLocal8Bit(process.readAllStandardError());
        return err.split('\n', Qt::SkipEmptyParts);
    }

    QTemporaryDir runtime;
    QProcess process;
    QString err;
};

bool onBus() {
    return waitUntil([] { return runFully("playerctl", {"--list-all"}).out.split('\n').contains("sorinel"); }, 15000);
}

class CommandLine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(one.isValid() && two.isValid() && elsewhere.isValid());
        // Three 2-second clips in list order, one with a name that is not
        // UTF-8, and a file of another kind.
        names = {"1 a.mpg", "2 \xff\xfe.wav", "3 c.mp3"};
        copy("short.mpg", one.path(), names[0]);
        copy("short.wav", one.path(), names[1]);
        copy("short.mp3", one.path(), names[2]);
        copy("short.mpg", one.path(), "x.mp4");
        copy("long.mpg", two.path(), "a.mpg");
        copy("long.mpg", two.path(), "b.mpg");
    }
    void copy(const char* from, const QString& folder, const QByteArray& name) {
        // By bytes: QFile's names are text.
        QFile source(QStringLiteral(E2E_MEDIA_DIR "/") + from);
        ASSERT_TRUE(source.open(QIODevice::ReadOnly));
        const QByteArray data = source.readAll();
        const QByteArray path = bytesOf(folder) + '/' + name;
        FILE* f = std::fopen(path.constData(), "wb");
        ASSERT_NE(f, nullptr) << path.constData();
        std::fwrite(data.constData(), 1, static_cast<std::size_t>(data.size()), f);
        std::fclose(f);
    }
    QByteArray inOne(int k) const { return bytesOf(one.path()) + '/' + names[k]; }
    QString uriOf(const QByteArray& path) const { return sorinel::window::fileUriOfLocalPath(path); }

    // QTemporaryDir cannot remove a name that is not UTF-8.
    void TearDown() override { std::system(("rm -rf '" + bytesOf(one.path()) + "'").constData()); }

    QTemporaryDir one, two, elsewhere;
    QList<QByteArray> names;
};

// The file plays, whatever bytes its name holds, and the folder goes on from
// it by itself as after a click: the next entries follow in list order.
TEST_F(CommandLine, AFilePlaysAndItsFolderGoesOnFromIt) {
    Sorinel program({inOne(1)}, elsewhere.path());
    ASSERT_TRUE(waitUntil([&] { return openMediaFile(program.pid()) == inOne(1); }, 15000))
        << "playing: " << openMediaFile(program.pid()).constData();
    ASSERT_TRUE(onBus());
    EXPECT_TRUE(waitUntil([&] { return playerctl({"metadata", "xesam:url"}) == uriOf(inOne(2)); }, 15000))
        << "the folder did not go on from the file: " << playerctl({"metadata", "xesam:url"}).toStdString();
    EXPECT_TRUE(program.errorLines().isEmpty()) << program.errorLines().join('\n').toStdString();
}

// A folder is shown: play starts its first entry, not the working
// directory's.
TEST_F(CommandLine, AFolderIsShown) {
    Sorinel program({bytesOf(two.path())}, one.path());
    ASSERT_TRUE(program.showsWindow());
    ASSERT_TRUE(onBus());
    EXPECT_EQ(playerctl({"status"}), "Stopped") << "a folder alone plays nothing";
    playerctl({"play"});
    EXPECT_TRUE(waitUntil([&] { return playerctl({"metadata", "xesam:url"}) == uriOf(bytesOf(two.path()) + "/a.mpg"); },
                          15000));
    EXPECT_TRUE(program.errorLines().isEmpty()) << program.errorLines().join('\n').toStdString();
}

// What cannot be opened is one line on standard error, and the program starts
// as without it: the list shows the working directory. A second argument is
// ignored the same way while the first is opened.
TEST_F(CommandLine, WhatCannotBeOpenedIsOneLineAndTheProgramStartsWithoutIt) {
    const struct {
        QList<QByteArray> args;
        QByteArray named;   // the argument the line is about
        const char* says;   // part of that line
        QByteArray plays;   // what play then starts, or (with an empty name) what plays by itself
        bool byItself;
    } rows[] = {
        {{bytesOf(one.path()) + "/missing.mpg"}, "missing.mpg", "no such file or folder", bytesOf(two.path()) + "/a.mpg", false},
        {{bytesOf(one.path()) + "/x.mp4"}, "x.mp4", "not a kind of media file", bytesOf(two.path()) + "/a.mpg", false},
        {{bytesOf(two.path()) + "/b.mpg", inOne(0)}, names[0], "ignored", bytesOf(two.path()) + "/b.mpg", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.named.constData());
        Sorinel program(row.args, two.path());
        ASSERT_TRUE(program.showsWindow());
        ASSERT_TRUE(onBus());
        if (!row.byItself) playerctl({"play"});
        EXPECT_TRUE(waitUntil([&] { return playerctl({"metadata", "xesam:url"}) == uriOf(row.plays); }, 15000))
            << playerctl({"metadata", "xesam:url"}).toStdString();
        const QStringList lines = program.errorLines();
        ASSERT_EQ(lines.size(), 1) << lines.join('\n').toStdString();
        EXPECT_TRUE(lines[0].startsWith("sorinel: ")) << lines[0].toStdString();
        EXPECT_TRUE(lines[0].contains(QString::fromUtf8(row.named))) << lines[0].toStdString();
        EXPECT_TRUE(lines[0].contains(row.says)) << lines[0].toStdString();
        program.stop();
        ASSERT_TRUE(waitUntil([] { return !runFully("playerctl", {"--list-all"}).out.contains("sorinel"); }, 10000));
    }
}

// A second start hands its file to the first and ends at once; one that
// finds no answer, or no bus, opens its own window.
TEST_F(CommandLine, ASecondStartHandsItsFileToTheFirst) {
    Sorinel first({}, two.path());
    ASSERT_TRUE(first.showsWindow());
    ASSERT_TRUE(onBus());

    Sorinel second({inOne(0)}, elsewhere.path());
    ASSERT_TRUE(second.process.waitForFinished(10000)) << "the second start did not end";
    EXPECT_EQ(second.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.process.exitCode(), 0);
    EXPECT_TRUE(second.errorLines().isEmpty()) << second.errorLines().join('\n').toStdString();
    EXPECT_TRUE(waitUntil([&] { return playerctl({"metadata", "xesam:url"}) == uriOf(inOne(0)); }, 15000));
    // From there the first one's list goes on in the file's folder.
    EXPECT_TRUE(waitUntil([&] { return openMediaFile(first.pid()) == inOne(1); }, 15000));

    // A first one that does not answer: after a second the new start shows
    // its own window.
    ::kill(static_cast<pid_t>(first.pid()), SIGSTOP);
    Sorinel third({inOne(2)}, elsewhere.path());
    EXPECT_TRUE(third.showsWindow());
    EXPECT_TRUE(third.running());
    EXPECT_TRUE(waitUntil([&] { return openMediaFile(third.pid()) == inOne(2); }, 15000));
    third.stop();
    ::kill(static_cast<pid_t>(first.pid()), SIGCONT);

    // No bus at all: its own window as well.
    Sorinel fourth({inOne(2)}, elsewhere.path(), "unix:path=" + elsewhere.filePath("no-bus"));
    EXPECT_TRUE(fourth.showsWindow());
    EXPECT_TRUE(waitUntil([&] { return openMediaFile(fourth.pid()) == inOne(2); }, 15000));
}

// OpenUri takes local files of the fifteen kinds and folders, any bytes in
// the name; anything else is an error to the caller and loads nothing.
TEST_F(CommandLine, PlayerctlOpensLocalMediaAndIsRefusedEverythingElse) {
    Sorinel program({bytesOf(two.path()) + "/a.mpg"}, elsewhere.path());
    ASSERT_TRUE(onBus());
    const QString playing = uriOf(bytesOf(two.path()) + "/a.mpg");
    ASSERT_TRUE(waitUntil([&] { return playerctl({"metadata", "xesam:url"}) == playing; }, 15000));

    const QString refused[] = {
        "http://127.0.0.1:9/a.mpg", "ftp://127.0.0.1/a.mpg", "lavfi://testsrc", "av://lavfi:sine",
        "memory://abc", "edl://" + QFile::decodeName(inOne(0)),
        uriOf(bytesOf(one.path()) + "/x.mp4"), uriOf(bytesOf(one.path()) + "/missing.mpg"),
    };
    for (const QString& uri : refused) {
        const Ran r = runFully("playerctl", {"--player=sorinel", "open", uri});
        EXPECT_NE(r.code, 0) << uri.toStdString();
        EXPECT_TRUE(r.err.contains("NotOpened")) << uri.toStdString() << ": " << r.err.toStdString();
    }
    pumpFor(1500);
    EXPECT_EQ(playerctl({"metadata", "xesam:url"}), playing) << "a refused URI changed what plays";
    EXPECT_EQ(openMediaFile(program.pid()), bytesOf(two.path()) + "/a.mpg");

    // What the player says it takes.
    const QString schemes = run("gdbus", {"call", "--session", "--dest", "org.mpris.MediaPlayer2.sorinel",
                                          "--object-path", "/org/mpris/MediaPlayer2", "--method",
                                          "org.freedesktop.DBus.Properties.Get", "org.mpris.MediaPlayer2",
                                          "SupportedUriSchemes"});
    EXPECT_EQ(schemes.trimmed(), "(<['file']>,)");
    const QString types = run("gdbus", {"call", "--session", "--dest", "org.mpris.MediaPlayer2.sorinel",
                                        "--object-path", "/org/mpris/MediaPlayer2", "--method",
                                        "org.freedesktop.DBus.Properties.Get", "org.mpris.MediaPlayer2",
                                        "SupportedMimeTypes"});
    for (const char* type : {"video/mpeg", "application/vnd.ms-asf", "audio/midi", "inode/directory"})
        EXPECT_TRUE(types.contains(type)) << types.toStdString();

    // A name that is not UTF-8, percent-encoded.
    const Ran opened = runFully("playerctl", {"--player=sorinel", "open", uriOf(inOne(1))});
    EXPECT_EQ(opened.code, 0) << opened.err.toStdString();
    EXPECT_TRUE(waitUntil([&] { return openMediaFile(program.pid()) == inOne(1); }, 15000));
    // And the folder goes on from it.
    EXPECT_TRUE(waitUntil([&] { return playerctl({"metadata", "xesam:url"}) == uriOf(inOne(2)); }, 15000));
}

}  // namespace
