// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The composition root: the application object, the real clock and random
// source, the one window and the desktop's media controls for it. The
// command line names at most one file or folder to open (app/command_line.h);
// when a player already runs on the session bus, it gets that file instead.
#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <clocale>
#include <cstdio>

#include "app/command_line.h"
#include "desktop/mpris/mpris_handover.h"
#include "desktop/mpris/mpris_service.h"
#include "playback/system_clock.h"
#include "playback/system_random.h"
#include "window/form1.h"
#include "window/form1_remote_control.h"
#include "platform/failures.h"

int main(int argc, char** argv) {
    if (const auto answered = sorinel::app::answerHelpOrVersion(argc, argv)) return *answered;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sorinel"));
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.sorinel.sorinel"));
    // QApplication sets the locale from the environment; mpv reads numbers
    // in the C locale.
    std::setlocale(LC_NUMERIC, "C");
    sorinel::platform::reportFailuresAtDebugLevel();
    // The window hides itself while minimised and ends the program itself
    // when it is closed.
    QApplication::setQuitOnLastWindowClosed(false);

    // QApplication has taken its own options (-platform, -display ...) out.
    QList<QByteArray> arguments;
    for (int k = 1; k < argc; ++k) arguments << QByteArray(argv[k]);
    if (const auto refused = sorinel::app::refuseUnknownOptions(arguments)) return *refused;
    const auto request = sorinel::app::readCommandLine(arguments);
    // Before the window is built: the sooner the name is ours, the shorter
    // the instant in which two starts (a file manager opening two selected
    // files) could both build one. A start without a file opens its window
    // whoever holds the name.
    const QString uri =
        request ? sorinel::window::fileUriOfLocalPath(request->absolutePath) : QString();
    const auto claim = sorinel::desktop::claimNameOrHandOver(uri);
    if (claim == sorinel::desktop::HandOver::Done) return 0;

    // The window's texts are Japanese whatever the locale, and so are Qt's
    // own where the window shows them (the file dialog's labels and buttons).
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    sorinel::playback::SystemClock clock;
    sorinel::playback::SystemRandom random;
    sorinel::window::Form1 form(clock, random);
    sorinel::window::Form1RemoteControl remote(form);
    sorinel::desktop::MprisService mediaControls(remote, QGuiApplication::desktopFileName());
    form.raiseLoad();
    form.show();
    // From the event loop, once the window is up: the file plays as after a
    // click, behind the layout pass and the activation the show has raised.
    // Then the media controls, whose OpenUri a start at the same instant is
    // waiting for: its file comes after this one and replaces it, as from
    // any later start. The window first: a person waits for it, not for the
    // media keys, and a slow bus must not hold it back. Without a bus the
    // program runs as before.
    QMetaObject::invokeMethod(
        &form,
        [&form, &mediaControls, request, claim] {
            if (request &&
                !sorinel::playback::stopFailure("opening the named file", [&] {
                    form.openMedia(request->target.folder, request->target.fileName);
                }))
                std::fprintf(stderr, "sorinel: %s: could not be opened\n", request->absolutePath.constData());
            // Only the window that files are handed to: a desktop must not
            // show a second player that the media keys reach by chance.
            if (claim == sorinel::desktop::HandOver::Claimed) mediaControls.registerOnBus();
        },
        Qt::QueuedConnection);
    return app.exec();
}
