#pragma once
// The video area: a QOpenGLWidget that mpv's render API draws into. Mouse
// clicks on it are reported in the player's terms; a double click asks to
// leave full screen.

#include <QOpenGLWidget>

struct mpv_render_context;

namespace sorinel::platform {

class MpvHandle;

class MpvVideoWidget : public QOpenGLWidget {
    Q_OBJECT
public:
    MpvVideoWidget(const MpvHandle& mpv, QWidget* parent = nullptr);
    ~MpvVideoWidget() override;

signals:
    // button 1 left, 2 right, 4 middle; shift 1 Shift, 2 Ctrl, 4 Alt.
    void clicked(int button, int shiftState, float x, float y);
    void doubleClicked();

protected:
    void initializeGL() override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void onFrameReady();
    void releaseRenderContext();
    static void updateCallback(void* self);
    static void* procAddress(void* ctx, const char* name);

    const MpvHandle& mpv_;
    mpv_render_context* render_ = nullptr;
    Qt::MouseButton pressed_ = Qt::NoButton;
};

}  // namespace sorinel::platform
