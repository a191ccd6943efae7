// The composition root: the application object, the real clock and random
// source, the one window and the desktop's media controls for it. The
// program takes no command line.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>
#include <clocale>

#include "platform/mpris/mpris_service.h"
#include "playback/system_clock.h"
#include "playback/system_random.h"
#include "window/form1.h"
#include "window/form1_remote_control.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sorinel"));
    QGuiApplication::setDesktopFileName(QStringLiteral("sorinel"));
    // QApplication sets the locale from the environment; mpv reads numbers
    // in the C locale.
    std::setlocale(LC_NUMERIC, "C");
    // The window hides itself while minimised and ends the program itself
    // when it is closed.
    QApplication::setQuitOnLastWindowClosed(false);
    // The window's own texts are Japanese whatever the locale; Qt's (the file
    // dialog's labels and buttons) follow the user's language where installed.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    sorinel::playback::SystemClock clock;
    sorinel::playback::SystemRandom random;
    sorinel::window::Form1 form(clock, random);
    sorinel::window::Form1RemoteControl remote(form);
    sorinel::platform::MprisService mediaControls(remote, QGuiApplication::desktopFileName());
    form.raiseLoad();
    form.show();
    // The window first: a person waits for it, not for the media keys, and a
    // slow bus must not hold it back. Without a bus the program runs as before.
    QTimer::singleShot(0, &mediaControls, [&mediaControls] { mediaControls.registerOnBus(); });
    return app.exec();
}
