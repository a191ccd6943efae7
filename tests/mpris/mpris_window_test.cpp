// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The real window with its media controls on the test's private session bus,
// driven by playerctl as a desktop drives it: what plays after a click, pause
// and resume, the position, the advance, a stop, the window brought back
// from the tray, and a second program that finds the name taken.
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSystemTrayIcon>
#include <QUrl>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

#include "desktop.h"
#include "mpris_client.h"
#include "desktop/mpris/mpris_service.h"
#include "playback/system_clock.h"
#include "playback/system_random.h"
#include "window/form1.h"
#include "window/form1_remote_control.h"

namespace sorinel {
namespace {

using testing::pumpFor;
using testing::waitUntil;

// playerctl waits for the answer of a service that lives on this thread:
// run it while the event loop goes on.
QString playerctl(const QStringList& args) {
    QProcess p;
    p.start("playerctl", QStringList{"--player=sorinel"} + args);
    if (!p.waitForStarted(5000)) return "(playerctl did not start)";
    waitUntil([&] { return p.state() == QProcess::NotRunning; }, 10000);
    if (p.state() != QProcess::NotRunning) {
        p.kill();
        p.waitForFinished();
    }
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

class MprisWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        trayHost = new testing::BackgroundProgram(
            "trayer", {"--edge", "top", "--align", "left", "--widthtype", "request", "--height", "24"});
        waitUntil([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 10000);
    }
    static void TearDownTestSuite() {
        delete trayHost;
        trayHost = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        for (const char* name : {"a.mpg", "b.mpg", "c.mpg"})
            ASSERT_TRUE(QFile::copy(QStringLiteral(E2E_MEDIA_DIR "/long.mpg"), folder.filePath(name)));
        form = std::make_unique<window::Form1>(clock, random);
        remote = std::make_unique<window::Form1RemoteControl>(*form);
        service = std::make_unique<desktop::MprisService>(*remote, "sorinel");
        QObject::connect(form->MediaPlayer1, &platform::MediaPlayer::playStateChange, form.get(),
                         [this](int s) { reports.emplace_back(s, playing()); });
        form->File1->setPath(folder.path());
        form->raiseLoad();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        ASSERT_TRUE(service->registerOnBus());
        pumpFor(300);
    }

    void TearDown() override {
        service.reset();
        remote.reset();
        if (form && !form->ended()) form->close();
        form.reset();
    }

    void clickEntry(int index) {
        auto* list = form->File1;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(index)).center());
    }
    QString playing() const { return QFileInfo(form->MediaPlayer1->url()).fileName(); }
    int state() const { return form->MediaPlayer1->playState(); }

    static inline testing::BackgroundProgram* trayHost = nullptr;
    QTemporaryDir folder;
    playback::SystemClock clock;
    playback::SystemRandom random;
    std::unique_ptr<window::Form1> form;
    std::unique_ptr<window::Form1RemoteControl> remote;
    std::unique_ptr<desktop::MprisService> service;
    std::vector<std::pair<int, QString>> reports;  // state, file
};

TEST_F(MprisWindow, PlayerctlFollowsAndDrivesAFolder) {
    EXPECT_EQ(playerctl({"status"}), "Stopped");
    // Nothing loaded, nothing selected: play starts the first entry.
    playerctl({"play"});
    ASSERT_TRUE(waitUntil([&] { return state() == 3; }, 10000));
    EXPECT_EQ(playing(), "a.mpg");

    clickEntry(1);
    ASSERT_TRUE(waitUntil([&] { return playing() == "b.mpg" && state() == 3; }, 10000));
    EXPECT_EQ(playerctl({"metadata", "xesam:title"}), "b.mpg");
    EXPECT_EQ(QUrl(playerctl({"metadata", "xesam:url"})).toLocalFile(), folder.filePath("b.mpg"));
    EXPECT_NEAR(playerctl({"metadata", "mpris:length"}).toDouble() / 1e6, form->MediaPlayer1->duration(), 0.001);
    EXPECT_EQ(playerctl({"status"}), "Playing");

    playerctl({"play-pause"});
    ASSERT_TRUE(waitUntil([&] { return state() == 2; }, 5000));
    EXPECT_EQ(playerctl({"status"}), "Paused");
    // While paused the position stands still, and a client reads where.
    playerctl({"position", "4.5"});
    ASSERT_TRUE(waitUntil([&] { return std::abs(form->MediaPlayer1->currentPosition() - 4.5) < 0.6; }, 5000));
    pumpFor(300);  // MPEG seeks land a little after their target
    EXPECT_NEAR(playerctl({"position"}).toDouble(), form->MediaPlayer1->currentPosition(), 0.05);
    playerctl({"play-pause"});
    ASSERT_TRUE(waitUntil([&] { return state() == 3; }, 5000));

    // Next is the folder's own advance: list order, after its pause.
    playerctl({"next"});
    ASSERT_TRUE(waitUntil([&] { return playing() == "c.mpg" && state() == 3; }, 10000));
    EXPECT_EQ(playerctl({"metadata", "xesam:title"}), "c.mpg");
    EXPECT_EQ(form->sequence().i, 2);

    // Stop is a person's stop: the file stays, and the folder waits instead
    // of moving on after the usual pause.
    const std::size_t before = reports.size();
    playerctl({"stop"});
    ASSERT_TRUE(waitUntil(
        [&] {
            return reports.size() > before && reports[before] == std::pair{1, QString("c.mpg")};
        },
        5000));
    pumpFor(2500);
    EXPECT_EQ(reports.size(), before + 1) << "something started after the stop";
    EXPECT_EQ(playerctl({"status"}), "Stopped");

    // Play starts the stopped file again, and the folder goes on from it.
    playerctl({"play"});
    ASSERT_TRUE(waitUntil([&] { return playing() == "c.mpg" && state() == 3; }, 10000));
    EXPECT_EQ(form->sequence().nextfl, 1) << "the advance is not armed again";
}

TEST_F(MprisWindow, RaiseBringsBackTheWindowTheTrayHolds) {
    form->showMinimized();
    ASSERT_TRUE(waitUntil([&] { return !form->isVisible(); }, 5000)) << "the window did not go to the tray";
    testing::MprisClient client;
    auto call = client.callAsync("Raise", {});
    ASSERT_TRUE(waitUntil([&] { return form->isVisible() && !form->isMinimized(); }, 5000));
    EXPECT_FALSE(call->isError());
}

// A second program finds the name taken: it runs, says nothing, and the
// desktop's controls still reach the first.
TEST_F(MprisWindow, SecondProgramRunsWithoutTheName) {
    QTemporaryDir emptyFolder, runtime;
    QProcess second;
    second.setWorkingDirectory(emptyFolder.path());
    // As a desktop session sets it; Qt remarks on its absence.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    second.setProcessEnvironment(env);
    second.start(SORINEL_PROGRAM, {});
    ASSERT_TRUE(second.waitForStarted(5000));
    pumpFor(3000);
    EXPECT_EQ(second.state(), QProcess::Running);
    const QDBusConnection bus = QDBusConnection::sessionBus();
    EXPECT_EQ(bus.interface()->serviceOwner(desktop::MprisService::kServiceName).value(), bus.baseService());
    EXPECT_EQ(playerctl({"status"}), "Stopped");
    second.terminate();
    second.waitForFinished(5000);
    // Losing the name is ordinary for a second program: nothing about it
    // reaches the user's log.
    const QString said = QString::fromUtf8(second.readAllStandardError());
    for (const char* word : {"dbus", "mpris", "org.", "name"})
        EXPECT_FALSE(said.contains(word, Qt::CaseInsensitive)) << said.toStdString();
}

// A name in CP932 bytes, which are not UTF-8: the url leads to those very
// bytes, and the title reads as the list shows it.
TEST_F(MprisWindow, ANameThatIsNotUtf8KeepsItsBytesAndReadsAsTheListShowsIt) {
    const QByteArray path = QFile::encodeName(folder.path()) + "/\x83\x5c\x83\x8a\x83\x6c\x83\x8b.mpg";
    ASSERT_EQ(std::system(("cp " E2E_MEDIA_DIR "/long.mpg '" + path + "'").constData()), 0);
    form->File1->refresh();
    clickEntry(3);
    ASSERT_TRUE(waitUntil([&] { return state() == 3; }, 10000));
    EXPECT_EQ(QByteArray::fromPercentEncoding(playerctl({"metadata", "xesam:url"}).toLatin1()), "file://" + path);
    EXPECT_EQ(playerctl({"metadata", "xesam:title"}), QString::fromUtf8("ソリネル.mpg"));
    EXPECT_EQ(form->File1->entry(3), QString::fromUtf8("ソリネル.mpg"));
}

}  // namespace
}  // namespace sorinel
