// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers for tests that drive a real window on the test's own display, and
// for what the program says on stderr.

#include <QDebug>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace sorinel::testing {

// Handles events until pred() holds or timeoutMs pass; returns pred().
bool waitUntil(const std::function<bool()>& pred, int timeoutMs);

// Handles events for ms milliseconds.
void pumpFor(int ms);

// Runs a command to its end (xdotool, import, ...) and returns its stdout.
QString run(const QString& program, const QStringList& args, int timeoutMs = 10000);

// A helper program (openbox, trayer) that runs for the life of the object.
class BackgroundProgram {
public:
    BackgroundProgram(const QString& program, const QStringList& args);
    ~BackgroundProgram();
    bool running() const;
    // Starts the program again if it has exited; true when it runs. Openbox
    // has been seen to exit now and then on a loaded machine after a client
    // window was minimised and destroyed; the tests after it still need a
    // window manager.
    bool restartIfGone();

private:
    std::unique_ptr<QProcess> process_;
};

// Saves a screenshot of the whole display to path.
bool screenshot(const QString& path);

// Directory with the generated test media.
QString mediaDir();

// Qt's warnings and worse while it lives: in ordinary use the program leaves
// no trace in the user's log.
class WarningLog {
public:
    WarningLog();
    ~WarningLog();
    const QStringList& lines() const { return lines_; }

private:
    static void handle(QtMsgType type, const QMessageLogContext&, const QString& text);
    static inline QStringList lines_;
    QtMessageHandler previous_;
};

}  // namespace sorinel::testing
