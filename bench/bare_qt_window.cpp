// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The floors under the program's start-up time: a Qt Widgets application that
// only shows an empty window of the same size; with --gl the same window
// holding an OpenGL widget (as the video area does), which makes Qt bring up
// OpenGL before the window appears; with --mpv also an initialised libmpv
// handle, as an embedded player needs before its window shows.
// window_map_timer times them beside the program.
#include <QApplication>
#include <QOpenGLWidget>
#include <QWidget>
#include <clocale>
#include <cstring>
#include <mpv/client.h>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const bool withMpv = argc > 1 && std::strcmp(argv[1], "--mpv") == 0;
    const bool withGl = withMpv || (argc > 1 && std::strcmp(argv[1], "--gl") == 0);
    mpv_handle* mpv = nullptr;
    if (withMpv) {
        std::setlocale(LC_NUMERIC, "C");
        mpv = mpv_create();
        if (!mpv) return 1;
        mpv_set_option_string(mpv, "config", "no");
        mpv_set_option_string(mpv, "vo", "libmpv");
        mpv_set_option_string(mpv, "idle", "yes");
        if (mpv_initialize(mpv) < 0) return 1;
    }
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare Qt window"));
    window.resize(418, 334);
    if (withGl) (new QOpenGLWidget(&window))->setGeometry(0, 0, 308, 271);
    window.show();
    const int status = app.exec();
    if (mpv) mpv_terminate_destroy(mpv);
    return status;
}
