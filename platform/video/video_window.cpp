// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/video/video_window.h"

#include "platform/display_server.h"
#include "platform/engine/engine_log.h"
#include "platform/engine/engine.h"
#include "platform/video/opengl_video_window.h"
#include "platform/video/software_video_window.h"

#include <mpv/render.h>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>
#include <utility>

namespace sorinel::platform {

std::unique_ptr<VideoWindow> VideoWindow::create(VideoOutput output) {
    if (output == VideoOutput::OpenGl) return std::make_unique<OpenGlVideoWindow>();
    return std::make_unique<SoftwareVideoWindow>();
}

// A click on the video must not take the keyboard from the main window: its
// keys (Space, Tab, the list's arrows) would then reach a window that does
// nothing with them.
VideoWindow::VideoWindow(VideoOutput output) : output_(output) { setFlag(Qt::WindowDoesNotAcceptFocus); }

VideoWindow::~VideoWindow() = default;

bool VideoWindow::attach(Engine& engine) {
    if (render_) return true;
    if (!engine.valid()) return false;
    render_ = createRenderContext(engine.renderSource());
    if (!render_) return false;
    if (drawsOnCpu()) engine.useCheapScaling();
    mpv_render_context_set_update_callback(render_, &VideoWindow::updateCallback, this);
    redraw();
    return true;
}

void VideoWindow::detach() {
    if (!render_) return;
    render_ = nullptr;
    dropRenderContext();
}

void VideoWindow::updateCallback(void* self) {
    // Called on the engine's threads: only hand the work to the GUI thread.
    auto* window = static_cast<VideoWindow*>(self);
    window->update_.post(window, &VideoWindow::onEngineUpdate);
}

void VideoWindow::onEngineUpdate() {
    update_.taken();
    if (!render_) return;
    // The engine must be asked on every notification, also when the answer
    // is that no new frame is due.
    if (!(mpv_render_context_update(render_) & MPV_RENDER_UPDATE_FRAME)) return;
    // A frame not taken holds playback up: off screen (the main window in
    // the tray, or minimised) it is taken without drawing.
    traceStep("frame due");
    if (onScreen() && !blank_)
        draw(render_);
    else
        skipFrame(render_);
    traceStep("frame done");
}

bool VideoWindow::onScreen() const {
    // Qt on Wayland (6.4) never reports a child window exposed; the
    // compositor shows what it is given while the window is visible.
    static const bool wayland = runsOnWayland();
    return wayland ? isVisible() : isExposed();
}

void VideoWindow::skipFrame(mpv_render_context* render) {
    int skip = 1;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_SKIP_RENDERING, &skip},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(render, params);
}

void VideoWindow::redraw() {
    if (onScreen()) draw(blank_ ? nullptr : render_);
}

void VideoWindow::setBlank(bool on) {
    if (on == blank_) return;
    blank_ = on;
    redraw();
}

void VideoWindow::exposeEvent(QExposeEvent*) {
    traceStep("video window exposed");
    redraw();
}

void VideoWindow::resizeEvent(QResizeEvent*) {
    // A window that shrinks is not exposed again: the picture is fitted anew
    // here.
    redraw();
}

void VideoWindow::mousePressEvent(QMouseEvent* event) { clicks_.press(*event); }
void VideoWindow::mouseDoubleClickEvent(QMouseEvent* event) { clicks_.doubleClickPress(*event); }
void VideoWindow::mouseReleaseEvent(QMouseEvent* event) { clicks_.release(*event, size()); }

void VideoWindow::keyPressEvent(QKeyEvent* event) {
    // The window shortcuts of the widgets around do not see keys typed here.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        emit escapePressed();
        return;
    }
    QWindow::keyPressEvent(event);
}

}  // namespace sorinel::platform
