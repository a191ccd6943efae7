// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/video/opengl_video_window.h"

#include "platform/display_server.h"
#include "platform/engine/engine_log.h"
#include "platform/video/video_output_choice.h"

#include <mpv/render_gl.h>

#include <QGuiApplication>
#include <QOpenGLFunctions>

namespace sorinel::platform {

OpenGlVideoWindow::OpenGlVideoWindow() : VideoWindow(VideoOutput::OpenGl) {
    setSurfaceType(QSurface::OpenGLSurface);
    if (runsOnWayland()) {
        // A hidden surface gets no frame callbacks: a swap that waited for
        // one would hold the whole program up while the window is away.
        QSurfaceFormat format = requestedFormat();
        format.setSwapInterval(0);
        setFormat(format);
    }
}

OpenGlVideoWindow::~OpenGlVideoWindow() = default;

void* OpenGlVideoWindow::procAddress(void*, const char* name) {
    QOpenGLContext* current = QOpenGLContext::currentContext();
    return current ? reinterpret_cast<void*>(current->getProcAddress(QByteArray(name))) : nullptr;
}

mpv_render_context* OpenGlVideoWindow::createRenderContext(mpv_handle* mpv) {
    context_.setFormat(requestedFormat());
    if (!context_.create()) return nullptr;
    offscreen_.setFormat(context_.format());
    offscreen_.create();
    if (!context_.makeCurrent(&offscreen_)) return nullptr;
    const auto* renderer = reinterpret_cast<const char*>(context_.functions()->glGetString(GL_RENDERER));
    onCpu_ = renderer && isSoftwareRenderer(renderer);
    mpv_opengl_init_params glInit{&OpenGlVideoWindow::procAddress, nullptr};
    // No advanced control: the player makes synchronous engine calls on this
    // same thread, which advanced control would allow to deadlock.
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &glInit},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context* render = nullptr;
    {
        const QuietStandardError quiet;
        if (mpv_render_context_create(&render, mpv, params) < 0) render = nullptr;
    }
    context_.doneCurrent();
    if (render) {
        // The engine lets go of its GL objects in the context they were made in.
        engine_ = RenderContext(render, [this](mpv_render_context* r) {
            const bool current = context_.makeCurrent(&offscreen_);
            mpv_render_context_free(r);
            if (current) context_.doneCurrent();
        });
    }
    return render;
}

void OpenGlVideoWindow::dropRenderContext() { engine_.reset(); }

void OpenGlVideoWindow::skipFrame(mpv_render_context* render) {
    // Skipping still reaches into OpenGL.
    if (!context_.makeCurrent(&offscreen_)) return;
    VideoWindow::skipFrame(render);
    context_.doneCurrent();
}

void OpenGlVideoWindow::draw(mpv_render_context* render) {
    if (!context_.isValid() || !context_.makeCurrent(this)) return;
    const QSize pixels = size() * devicePixelRatio();
    if (render) {
        mpv_opengl_fbo fbo{static_cast<int>(context_.defaultFramebufferObject()), pixels.width(), pixels.height(), 0};
        int flipY = 1;
        mpv_render_param params[] = {
            {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
            {MPV_RENDER_PARAM_FLIP_Y, &flipY},
            {MPV_RENDER_PARAM_INVALID, nullptr},
        };
        mpv_render_context_render(render, params);
    } else {
        QOpenGLFunctions* f = context_.functions();
        f->glClearColor(0, 0, 0, 1);
        f->glClear(GL_COLOR_BUFFER_BIT);
    }
    context_.swapBuffers(this);
}

}  // namespace sorinel::platform
