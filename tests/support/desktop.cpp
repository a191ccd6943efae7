// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace sorinel::testing {

bool waitUntil(const std::function<bool()>& pred, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (!pred()) {
        if (t.elapsed() > timeoutMs) return pred();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

void pumpFor(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

QString run(const QString& program, const QStringList& args, int timeoutMs) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

BackgroundProgram::BackgroundProgram(const QString& program, const QStringList& args)
    : process_(std::make_unique<QProcess>()) {
    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_->start(program, args);
    process_->waitForStarted(5000);
}

BackgroundProgram::~BackgroundProgram() {
    if (process_->state() != QProcess::NotRunning) {
        process_->terminate();
        if (!process_->waitForFinished(2000)) {
            process_->kill();
            process_->waitForFinished(2000);
        }
    }
}

bool BackgroundProgram::running() const { return process_->state() == QProcess::Running; }

bool BackgroundProgram::restartIfGone() {
    if (running()) return true;
    qWarning("%s exited (status %d); starting it again", qPrintable(process_->program()), process_->exitCode());
    process_->start();
    if (!process_->waitForStarted(5000)) return false;
    pumpFor(800);
    return running();
}

bool screenshot(const QString& path) {
    QProcess p;
    p.start("import", {"-window", "root", path});
    return p.waitForFinished(15000) && p.exitCode() == 0;
}

QString mediaDir() {
#ifdef SORINEL_TEST_MEDIA_DIR
    return QStringLiteral(SORINEL_TEST_MEDIA_DIR);
#else
    return {};
#endif
}

WarningLog::WarningLog() {
    lines_.clear();
    previous_ = qInstallMessageHandler(&WarningLog::handle);
}

WarningLog::~WarningLog() { qInstallMessageHandler(previous_); }

void WarningLog::handle(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type != QtDebugMsg && type != QtInfoMsg) lines_.append(text);
}

}  // namespace sorinel::testing
