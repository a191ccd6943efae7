#include "platform/mpv_video_widget.h"

#include "platform/mpv_handle.h"

#include <mpv/render_gl.h>

#include <QMouseEvent>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

namespace sorinel::platform {

namespace {

int buttonNumber(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

int shiftState(Qt::KeyboardModifiers m) {
    int s = 0;
    if (m & Qt::ShiftModifier) s |= 1;
    if (m & Qt::ControlModifier) s |= 2;
    if (m & Qt::AltModifier) s |= 4;
    return s;
}

}  // namespace

MpvVideoWidget::MpvVideoWidget(const MpvHandle& mpv, QWidget* parent) : QOpenGLWidget(parent), mpv_(mpv) {
    setMouseTracking(false);
    setFocusPolicy(Qt::ClickFocus);
}

MpvVideoWidget::~MpvVideoWidget() {
    // QOpenGLWidget's own destructor destroys the context, which would run
    // the handler below on a widget that is no longer one of ours.
    if (context()) disconnect(context(), &QOpenGLContext::aboutToBeDestroyed, this, nullptr);
    makeCurrent();
    releaseRenderContext();
    doneCurrent();
}

void* MpvVideoWidget::procAddress(void*, const char* name) {
    QOpenGLContext* glctx = QOpenGLContext::currentContext();
    if (!glctx) return nullptr;
    return reinterpret_cast<void*>(glctx->getProcAddress(QByteArray(name)));
}

void MpvVideoWidget::initializeGL() {
    // The GL context can be re-created (re-parenting to another window); the
    // render context belongs to the old one and must go with it.
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, [this] {
        makeCurrent();
        releaseRenderContext();
        doneCurrent();
    });
    if (render_ || !mpv_.valid()) return;

    mpv_opengl_init_params glInit{&MpvVideoWidget::procAddress, nullptr};
    // No advanced control: the player makes synchronous mpv calls on this
    // same thread, which advanced control would allow to deadlock.
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &glInit},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv_render_context_create(&render_, mpv_.get(), params) < 0) {
        render_ = nullptr;
        return;
    }
    mpv_render_context_set_update_callback(render_, &MpvVideoWidget::updateCallback, this);
}

void MpvVideoWidget::releaseRenderContext() {
    if (!render_) return;
    mpv_render_context_set_update_callback(render_, nullptr, nullptr);
    mpv_render_context_free(render_);
    render_ = nullptr;
}

void MpvVideoWidget::updateCallback(void* self) {
    // Called on mpv's render thread: only hand the work to the GUI thread.
    QMetaObject::invokeMethod(static_cast<MpvVideoWidget*>(self), &MpvVideoWidget::onFrameReady,
                              Qt::QueuedConnection);
}

void MpvVideoWidget::onFrameReady() {
    if (render_) update();
}

void MpvVideoWidget::paintGL() {
    if (!render_) {
        QOpenGLFunctions* f = context()->functions();
        f->glClearColor(0, 0, 0, 1);
        f->glClear(GL_COLOR_BUFFER_BIT);
        return;
    }
    const qreal ratio = devicePixelRatioF();
    mpv_opengl_fbo fbo{static_cast<int>(defaultFramebufferObject()), static_cast<int>(width() * ratio),
                       static_cast<int>(height() * ratio), 0};
    int flipY = 1;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
        {MPV_RENDER_PARAM_FLIP_Y, &flipY},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(render_, params);
}

void MpvVideoWidget::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button();
    event->accept();
}

void MpvVideoWidget::mouseReleaseEvent(QMouseEvent* event) {
    // A click is a press and a release of the same button on the video.
    const bool sameButton = event->button() == pressed_;
    pressed_ = Qt::NoButton;
    event->accept();
    if (!sameButton || !rect().contains(event->position().toPoint())) return;
    const int button = buttonNumber(event->button());
    if (button == 0) return;
    emit clicked(button, shiftState(event->modifiers()), static_cast<float>(event->position().x()),
                 static_cast<float>(event->position().y()));
}

void MpvVideoWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    pressed_ = event->button();
    event->accept();
    if (event->button() == Qt::LeftButton) emit doubleClicked();
}

}  // namespace sorinel::platform
