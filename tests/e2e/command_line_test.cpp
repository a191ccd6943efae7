// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The program as a file manager starts it ("sorinel %f"), seen from outside:
// the real program on the test's own display and session bus, what it plays
// read as a desktop reads it (MPRIS through playerctl) or from the file the
// process holds open (the name's real bytes), what it says on stderr, and a
// second start that hands its file to the first. playerctl open calls MPRIS
// OpenUri as any program of the session could.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <unistd.h>

#include "desktop.h"
#include "window/media_target.h"

namespace {

using sorinel::testing::waitUntil;

QByteArray bytesOf(const QString& path) { return QFile::encodeName(path); }
QString uriOf(const QByteArray& path) { return sorinel::window::fileUriOfLocalPath(path); }

// playerctl's exit code and stdout, or its stderr when it fails.
std::pair<int, QString> playerctl(const QStringList& args) {
    QProcess p;
    p.start("playerctl", QStringList{"--player=sorinel"} + args);
    p.waitForFinished(15000);
    const int code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return {code, QString::fromUtf8(code == 0 ? p.readAllStandardOutput() : p.readAllStandardError()).trimmed()};
}
QString url() { return playerctl({"metadata", "xesam:url"}).second; }

// The URLs of the tracks MPRIS reports one after another, from the one that
// plays now, until count are seen. Each load is a new track, so a file
// played again counts again.
QStringList tracksInTurn(int count) {
    QStringList urls;
    QString last;
    waitUntil(
        [&] {
            const QString track = playerctl({"metadata", "mpris:trackid"}).second;
            if (!track.isEmpty() && !track.endsWith("NoTrack") && track != last) {
                last = track;
                urls << url();
            }
            return urls.size() >= count;
        },
        20000);
    return urls;
}

// The media file the process holds open, by the bytes of its name.
QByteArray openMediaFile(qint64 pid) {
    const QByteArray fds = "/proc/" + QByteArray::number(pid) + "/fd/";
    for (const QString& fd :
         QDir(QFile::decodeName(fds)).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        QByteArray target(4096, '\0');
        const ssize_t n = ::readlink((fds + fd.toLatin1()).constData(), target.data(), target.size());
        if (n > 0 &&
            (target.left(n).endsWith(".mpg") || target.left(n).endsWith(".wav") || target.left(n).endsWith(".mp3")))
            return target.left(n);
    }
    return {};
}

class Sorinel {
public:
    explicit Sorinel(const QList<QByteArray>& args, const QString& cwd, const QString& bus = {}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtime.path());  // as a desktop session has it
        if (!bus.isEmpty()) env.insert("DBUS_SESSION_BUS_ADDRESS", bus);
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(cwd);
        // QProcess takes text: names that are not UTF-8 go through the shell
        // as octal escapes.
        QString script = "exec \"$0\"";
        for (const QByteArray& a : args) {
            QString octal;
            for (char c : a) octal += QString("\\%1").arg(static_cast<unsigned char>(c), 3, 8, QChar('0'));
            script += QString(" \"$(printf '%1')\"").arg(octal);
        }
        process.start("/bin/sh", {"-c", script, SORINEL_PROGRAM});
        process.waitForStarted(5000);
    }
    ~Sorinel() {
        ::kill(static_cast<pid_t>(process.processId()), SIGCONT);
        process.kill();
        process.waitForFinished(5000);
    }
    qint64 pid() const { return process.processId(); }
    bool plays(const QByteArray& path) {
        return waitUntil([&] { return openMediaFile(pid()) == path; }, 15000);
    }
    QStringList errorLines() {
        return QString::fromLocal8Bit(process.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
    }

    QTemporaryDir runtime;
    QProcess process;
};

bool onBus(bool present = true) {
    return waitUntil([&] { return playerctl({"--list-all"}).second.contains("sorinel") == present; }, 15000);
}

class CommandLine : public ::testing::Test {
protected:
    // ONE: three 2-second clips in list order, the last named in bytes that
    // are not UTF-8, and a file of another kind. TWO: two 12-second clips.
    void SetUp() override {
        for (auto [from, name] : {std::pair{"short.mpg", "1 a.mpg"},
                                  {"short.mp3", "2 b.mp3"},
                                  {"short.wav", "3 \xff\xfe.wav"},
                                  {"short.mpg", "x.mp4"}}) {
            const QByteArray to = bytesOf(one.path()) + '/' + name;
            ASSERT_EQ(std::system(("cp '" E2E_MEDIA_DIR "/" + QByteArray(from) + "' '" + to + "'").constData()), 0);
            in.push_back(to);
        }
        for (const char* name : {"a.mpg", "b.mpg"}) QFile::copy(E2E_MEDIA_DIR "/long.mpg", two.filePath(name));
    }
    // QTemporaryDir cannot remove a name that is not UTF-8.
    void TearDown() override { std::system(("rm -rf '" + bytesOf(one.path()) + "'").constData()); }
    QByteArray inTwo(const char* name) const { return bytesOf(two.filePath(name)); }

    QTemporaryDir one, two, elsewhere;
    QList<QByteArray> in;  // the files of ONE
};

// A file plays whatever bytes its name holds, and its folder goes on from it
// as after a click; a folder is only shown; a path is taken from the working
// directory too.
TEST_F(CommandLine, AFilePlaysAndItsFolderGoesOnAFolderIsShown) {
    {
        // The last entry: the list starts over after it, from the first. An
        // index reset by the window's activation would go on with the second.
        Sorinel program({in[2]}, elsewhere.path());
        EXPECT_TRUE(program.plays(in[2]));
        ASSERT_TRUE(onBus());
        EXPECT_EQ(tracksInTurn(2).value(1), uriOf(in[0])) << "the folder did not go on from the file";
        EXPECT_TRUE(program.errorLines().isEmpty()) << program.errorLines().join('\n').toStdString();
    }
    ASSERT_TRUE(onBus(false));
    Sorinel program({"../" + QDir(two.path()).dirName().toUtf8()}, one.path());
    ASSERT_TRUE(onBus());
    EXPECT_EQ(playerctl({"status"}).second, "Stopped") << "a folder alone plays nothing";
    playerctl({"play"});  // the first entry of the list: TWO's, not the working directory's
    EXPECT_TRUE(program.plays(inTwo("a.mpg")));
}

// What cannot be opened is one line on stderr and the program starts as
// without it (the list shows the working directory); a second argument is
// ignored the same way while the first is opened.
TEST_F(CommandLine, WhatCannotBeOpenedIsOneLineAndTheProgramStartsWithoutIt) {
    const struct {
        QList<QByteArray> args;
        QString line;
        QByteArray plays;
    } rows[] = {
        {{in[0] + "x"},
         "sorinel: " + one.path() + "/1 a.mpgx: no such file or folder; starting without it",
         inTwo("a.mpg")},
        {{in[3]},
         "sorinel: " + one.path() + "/x.mp4: not a kind of media file Sorinel plays; starting without it",
         inTwo("a.mpg")},
        {{inTwo("b.mpg"), in[0]},
         "sorinel: " + one.path() + "/1 a.mpg: only one file or folder is opened; ignored",
         inTwo("b.mpg")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line.toStdString());
        Sorinel program(row.args, two.path());
        ASSERT_TRUE(onBus());
        if (row.args.size() == 1) playerctl({"play"});
        EXPECT_TRUE(program.plays(row.plays));
        EXPECT_EQ(program.errorLines(), QStringList{row.line});
        program.process.kill();
        ASSERT_TRUE(onBus(false));
    }
}

// A second start hands its file to the first and ends at once; when the
// first does not answer, or there is no bus, it opens its own window.
TEST_F(CommandLine, ASecondStartHandsItsFileToTheFirst) {
    Sorinel first({}, two.path());
    ASSERT_TRUE(onBus());
    Sorinel second({in[0]}, elsewhere.path());
    ASSERT_TRUE(second.process.waitForFinished(10000)) << "the second start did not end";
    EXPECT_EQ(second.process.exitCode(), 0);
    EXPECT_TRUE(second.errorLines().isEmpty());
    EXPECT_TRUE(first.plays(in[0]));
    EXPECT_TRUE(first.plays(in[1])) << "the first one's list did not go on in the file's folder";

    ::kill(static_cast<pid_t>(first.pid()), SIGSTOP);
    Sorinel third({in[2]}, elsewhere.path());
    EXPECT_TRUE(third.plays(in[2]));
    Sorinel fourth({in[2]}, elsewhere.path(), "unix:path=" + elsewhere.filePath("no-bus"));
    EXPECT_TRUE(fourth.plays(in[2]));
}

// Two starts at the same instant, as a file manager opens two selected files
// ("sorinel %f" each): one window remains, playing the file of the start that
// ended, as when a second start comes later. Timing picks the winner: 5 tries.
TEST_F(CommandLine, TwoStartsAtTheSameInstantLeaveOneWindowPlayingTheLaterFile) {
    int oneWindow = 0;
    for (int attempt = 0; attempt < 5; ++attempt) {
        Sorinel a({inTwo("a.mpg")}, elsewhere.path()), b({inTwo("b.mpg")}, elsewhere.path());
        const auto ended = [](Sorinel& p) { return p.process.state() == QProcess::NotRunning; };
        waitUntil([&] { return ended(a) || ended(b); }, 10000);
        sorinel::testing::pumpFor(1000);  // a second end would come by now
        Sorinel &loser = ended(a) ? a : b, &survivor = ended(a) ? b : a;
        const QByteArray handedOver = inTwo(&loser == &a ? "a.mpg" : "b.mpg");
        if (ended(loser) && !ended(survivor) && loser.process.exitCode() == 0 && survivor.plays(handedOver)) {
            sorinel::testing::pumpFor(1500);  // and it stays
            oneWindow += openMediaFile(survivor.pid()) == handedOver;
        }
        a.process.kill(), b.process.kill();
        ASSERT_TRUE(onBus(false));
    }
    EXPECT_EQ(oneWindow, 5) << "tries that left one window playing the file handed over";
}

// The conventions of a command-line program: each option the usage lists
// answers on stdout with status 0, without a display (so without a window);
// --version names the project's version; any other option is one line on
// stderr and status 2, and nothing on stdout.
TEST(CommandLineOptions, ListedOptionsAnswerWithoutADisplayOthersAreRefused) {
    struct Run {
        int code;
        QString out, err;
    };
    QTemporaryDir runtime;
    const auto run = [&runtime](const QString& option, bool display) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", runtime.path());  // as a desktop session has it
        if (!display) {
            env.remove("DISPLAY");
            env.remove("WAYLAND_DISPLAY");
            env.insert("QT_QPA_PLATFORM", "xcb");  // a window would need the display that is not there
        }
        p.setProcessEnvironment(env);
        p.start(SORINEL_PROGRAM, {option});
        p.waitForFinished(15000);
        return Run{p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                   QString::fromLocal8Bit(p.readAllStandardOutput()), QString::fromLocal8Bit(p.readAllStandardError())};
    };
    const QString usage = run("--help", false).out;
    QStringList listed;
    for (const auto& line : QRegularExpression("^ +(-.*?)  ", QRegularExpression::MultilineOption).globalMatch(usage))
        for (const auto& option : QRegularExpression("--?[a-z-]+").globalMatch(line.captured(1)))
            listed << option.captured();
    EXPECT_TRUE(listed.contains("--help") && listed.contains("--version")) << usage.toStdString();
    for (const QString& option : listed) {
        if (option == "--") continue;  // it ends the options and answers nothing
        SCOPED_TRACE(option.toStdString());
        const Run answer = run(option, false);
        EXPECT_EQ(answer.code, 0);
        EXPECT_FALSE(answer.out.isEmpty());
        EXPECT_EQ(answer.err, "");
    }
    EXPECT_EQ(run("--version", false).out, "sorinel " SORINEL_VERSION "\n");
    for (const QString& unknown : {QStringLiteral("-x"), QStringLiteral("--foo")}) {
        const Run refusal = run(unknown, true);
        EXPECT_EQ(refusal.code, 2) << unknown.toStdString();
        EXPECT_EQ(refusal.out, "");
        EXPECT_EQ(refusal.err.count('\n'), 1) << refusal.err.toStdString();
        EXPECT_TRUE(refusal.err.startsWith("sorinel: " + unknown + ": ")) << refusal.err.toStdString();
    }
}

// OpenUri takes local files of the fifteen kinds, any bytes in the name, and
// refuses everything else with an error, loading nothing.
TEST_F(CommandLine, PlayerctlOpensLocalMediaAndIsRefusedEverythingElse) {
    Sorinel program({inTwo("a.mpg")}, elsewhere.path());
    ASSERT_TRUE(program.plays(inTwo("a.mpg")));
    ASSERT_TRUE(onBus());
    for (const QString& uri : {QString("http://127.0.0.1:9/a.mpg"), QString("ftp://127.0.0.1/a.mpg"),
                               QString("lavfi://testsrc"), QString("av://lavfi:sine"), QString("memory://abc"),
                               "edl://" + two.filePath("b.mpg"), uriOf(in[3]), uriOf(in[0] + "x")}) {
        const auto [code, said] = playerctl({"open", uri});
        EXPECT_NE(code, 0) << uri.toStdString();
        EXPECT_TRUE(said.contains("NotOpened")) << uri.toStdString() << ": " << said.toStdString();
    }
    sorinel::testing::pumpFor(1500);
    EXPECT_EQ(url(), uriOf(inTwo("a.mpg"))) << "a refused URI changed what plays";

    EXPECT_EQ(playerctl({"open", uriOf(in[2])}).first, 0);
    EXPECT_TRUE(program.plays(in[2]));
    EXPECT_EQ(tracksInTurn(2).value(1), uriOf(in[0])) << "the folder did not go on from the file";
}

}  // namespace
