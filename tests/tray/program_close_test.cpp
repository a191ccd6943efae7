// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The real program as a child process on a real tray host: its icon is
// there from the start; a close from the window system removes the icon at
// once, leaves the window up for the close's wait, and the process then ends
// with status 0. Started from a terminal, it prints nothing of the engine's
// unless asked to.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStringList>
#include <xcb/xcb.h>

#include "desktop.h"
#include "tray_host.h"

namespace sorinel::tray {
namespace {

using sorinel::testing::mediaDir;
using sorinel::testing::pumpFor;
using sorinel::testing::run;
using sorinel::testing::waitUntil;

// The program's windows that are on screen: the main window and, while it
// exists, the tray icon (embedded in the host's panel).
QStringList visibleWindowsOf(qint64 pid) {
    return run("xdotool", {"search", "--onlyvisible", "--pid", QString::number(pid)}).split('\n', Qt::SkipEmptyParts);
}

QString mainWindowOf(qint64 pid) {
    const QStringList found =
        run("xdotool", {"search", "--onlyvisible", "--pid", QString::number(pid), "--name", "Sorinel"})
            .split('\n', Qt::SkipEmptyParts);
    return found.isEmpty() ? QString() : found.first();
}

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    const auto cookie = xcb_intern_atom(c, 0, static_cast<std::uint16_t>(strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, cookie, nullptr);
    const xcb_atom_t a = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    free(reply);
    return a;
}

// What a window manager sends when the user closes a window.
void sendDeleteWindow(xcb_window_t window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    ASSERT_NE(x11, nullptr);
    xcb_connection_t* c = x11->connection();
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = atom(c, "WM_PROTOCOLS");
    event.data.data32[0] = atom(c, "WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
    xcb_flush(c);
}

using ProgramOnTrayHost = testing::TrayHost;

TEST_F(ProgramOnTrayHost, CloseRemovesTheIconAtOnceWaitsAndExitsWithStatusZero) {
    QProcess program;
    program.setWorkingDirectory(mediaDir());
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(QStringLiteral(SORINEL_PROGRAM), {});
    ASSERT_TRUE(program.waitForStarted(5000));
    const qint64 pid = program.processId();

    ASSERT_TRUE(waitUntil([&] { return !mainWindowOf(pid).isEmpty(); }, 15000)) << "no main window";
    ASSERT_TRUE(waitUntil([&] { return visibleWindowsOf(pid).size() == 2; }, 10000))
        << "no tray icon next to the main window";
    pumpFor(1000);  // the first layout pass and activation

    const QString window = mainWindowOf(pid);
    QElapsedTimer sinceClose;
    sendDeleteWindow(window.toUInt());
    sinceClose.start();

    // The icon goes first, while the window stays for the wait.
    EXPECT_TRUE(waitUntil([&] { return visibleWindowsOf(pid).size() == 1; }, 1000))
        << "the icon outlived the start of the close";
    EXPECT_TRUE(waitUntil([&] { return sinceClose.elapsed() >= 1200; }, 2000));
    EXPECT_EQ(mainWindowOf(pid), window) << "the window left before the close's wait";

    ASSERT_TRUE(program.waitForFinished(6000)) << "the program did not end";
    EXPECT_GE(sinceClose.elapsed(), 1400);
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}

// Plays the first file of the test media for a while and returns what the
// program printed on standard error.
QString errorOutputWhilePlaying(const QString& engineLog, const QString& videoOutput = QString()) {
    QProcess program;
    program.setWorkingDirectory(mediaDir());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("SORINEL_ENGINE_LOG"));
    if (!engineLog.isEmpty()) env.insert(QStringLiteral("SORINEL_ENGINE_LOG"), engineLog);
    if (!videoOutput.isEmpty()) env.insert(QStringLiteral("SORINEL_VIDEO_OUTPUT"), videoOutput);
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(SORINEL_PROGRAM), {});
    if (!program.waitForStarted(5000)) return QStringLiteral("(did not start)");
    const qint64 pid = program.processId();
    if (!waitUntil([&] { return !mainWindowOf(pid).isEmpty(); }, 15000)) return QStringLiteral("(no window)");
    pumpFor(800);
    // The first entry of the list, at the top of the right-hand column.
    run("xdotool", {"mousemove", "--window", mainWindowOf(pid), "320", "8", "click", "1"});
    pumpFor(2500);
    program.kill();
    program.waitForFinished(5000);
    return QString::fromLocal8Bit(program.readAllStandardError());
}

TEST_F(ProgramOnTrayHost, TheTerminalStaysQuietUnlessTheEnginesLogIsAskedFor) {
    // The engine, FFmpeg and the sound libraries it probes (ALSA, PipeWire,
    // JACK, sndio, the hardware decoders' loaders) each have their own way of
    // complaining on a machine without sound or GPU.
    const QRegularExpression engineNoise(
        QStringLiteral("ALSA lib|pw\\.conf|libcuda|Cannot |couldn't|jack|\\[ao|sorinel: engine"));
    const QString quiet = errorOutputWhilePlaying(QString());
    EXPECT_FALSE(quiet.contains(engineNoise)) << quiet.toStdString();
    // Drawing with OpenGL, as on a machine with a graphics driver, probes the
    // hardware decoders too.
    const QString quietOpenGl = errorOutputWhilePlaying(QString(), QStringLiteral("opengl"));
    EXPECT_FALSE(quietOpenGl.contains(engineNoise)) << quietOpenGl.toStdString();
    const QString asked = errorOutputWhilePlaying(QStringLiteral("info"));
    EXPECT_TRUE(asked.contains(QStringLiteral("sorinel: engine"))) << asked.toStdString();
    // The engine marks the track it plays "(+)" (libmpv 0.35) or "●" (0.40).
    EXPECT_TRUE(asked.contains(QRegularExpression(QStringLiteral("(\\(\\+\\)|●) Audio"))))
        << "the click played no file: " << asked.toStdString();
    // The engine's options are set by the names this engine version knows:
    // an old name would warn on every start, an unknown one be ignored.
    EXPECT_FALSE(
        asked.contains(QRegularExpression(QStringLiteral("was replaced with|deprecated|[Oo]ption .* not found"))))
        << asked.toStdString();
}

}  // namespace
}  // namespace sorinel::tray
