// The composition root: the application object, the real clock and random
// source, and the one window. The program takes no command line.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <clocale>

#include "playback/system_clock.h"
#include "playback/system_random.h"
#include "window/form1.h"

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
    form.raiseLoad();
    form.show();
    return app.exec();
}
