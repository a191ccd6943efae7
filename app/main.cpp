// The composition root: the application object, the real clock and random
// source, and the one window. The program takes no command line.
#include <QApplication>
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

    sorinel::playback::SystemClock clock;
    sorinel::playback::SystemRandom random;
    sorinel::window::Form1 form(clock, random);
    form.raiseLoad();
    form.show();
    return app.exec();
}
