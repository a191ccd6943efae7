// The floors under the program's start-up time: a Qt Widgets application that
// only shows an empty window of the same size, and with --gl the same window
// holding an OpenGL widget (as the video area does), which makes Qt bring up
// OpenGL before the window appears. window_map_timer times them beside the
// program.
#include <QApplication>
#include <QOpenGLWidget>
#include <QWidget>
#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare Qt window"));
    window.resize(418, 334);
    if (argc > 1 && std::strcmp(argv[1], "--gl") == 0) (new QOpenGLWidget(&window))->setGeometry(0, 0, 308, 271);
    window.show();
    return app.exec();
}
