#include "platform/video_window.h"

#include "platform/engine_log.h"
#include "platform/mpv_handle.h"
#include "platform/opengl_video_window.h"
#include "platform/software_video_window.h"

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

bool VideoWindow::attach(const MpvHandle& mpv) {
    if (render_) return true;
    if (!mpv.valid()) return false;
    render_ = createRenderContext(mpv.get());
    if (!render_) return false;
    mpv_render_context_set_update_callback(render_, &VideoWindow::updateCallback, this);
    redraw();
    return true;
}

void VideoWindow::detach() {
    if (!render_) return;
    // After this returns the engine no longer calls back into this window.
    mpv_render_context_set_update_callback(render_, nullptr, nullptr);
    releaseRenderContext(std::exchange(render_, nullptr));
}

void VideoWindow::updateCallback(void* self) {
    // Called on the engine's threads: only hand the work to the GUI thread.
    auto* window = static_cast<VideoWindow*>(self);
    if (window->updateQueued_.exchange(true)) return;
    QMetaObject::invokeMethod(window, &VideoWindow::onEngineUpdate, Qt::QueuedConnection);
}

void VideoWindow::onEngineUpdate() {
    updateQueued_ = false;
    if (!render_) return;
    // The engine must be asked on every notification, also when the answer
    // is that no new frame is due.
    if (!(mpv_render_context_update(render_) & MPV_RENDER_UPDATE_FRAME)) return;
    // A frame not taken holds playback up: off screen (the main window in
    // the tray, or minimised) it is taken without drawing.
    traceStep("frame due");
    if (onScreen() && !blank_) draw(render_);
    else skipFrame(render_);
    traceStep("frame done");
}

bool VideoWindow::onScreen() const {
    // Qt on Wayland (6.4) never reports a child window exposed; the
    // compositor shows what it is given while the window is visible.
    static const bool wayland = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
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

void VideoWindow::mousePressEvent(QMouseEvent* event) {
    clicks_.press(*event);
    event->accept();
}

void VideoWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    clicks_.doubleClickPress(*event);
    event->accept();
}

void VideoWindow::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    const ClickTracker::Outcome out = clicks_.release(*event, size());
    QPointer<VideoWindow> alive(this);
    if (out.click) emit clicked(out.click->button, out.click->shiftState, out.click->x, out.click->y);
    // After the click: a click that resumes playback may ask for full screen
    // again (the program does so on every playing report while its full
    // screen option is set), and the double-click must win over it.
    if (alive && out.doubleClick) emit doubleClicked();
}

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
