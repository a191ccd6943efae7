// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The video's own native window, embedded in the player through a window
// container: mpv draws straight into it, so the picture is not drawn once
// more into the main window. The two ways of drawing (software into the
// window's image, or OpenGL into its surface) are subclasses.
//
// Mouse and key events reach this window, not the widgets around it: it
// reports them in the player's terms.

#include "platform/engine/queued_wakeup.h"
#include "platform/video/click_tracker.h"
#include "platform/video/video_output_choice.h"

#include <QWindow>
#include <memory>

struct mpv_handle;
struct mpv_render_context;

namespace sorinel::platform {

class Engine;

class VideoWindow : public QWindow {
    Q_OBJECT
public:
    static std::unique_ptr<VideoWindow> create(VideoOutput output);
    ~VideoWindow() override;

    VideoOutput output() const { return output_; }

    // Connects the engine's video output to this window; false when the
    // engine refuses this way of drawing. The engine must outlive the
    // connection, which ends with the window or with detach().
    bool attach(Engine& engine);
    void detach();

    // Black instead of the engine's pictures (while it has no video to
    // show, when its last frame would otherwise stand).
    void setBlank(bool on);

signals:
    // As ClickTracker reports them; x, y in pixels of the window.
    void clicked(int button, int shiftState, float x, float y);
    void doubleClicked();
    void escapePressed();

protected:
    explicit VideoWindow(VideoOutput output);

    // Makes the engine's render context, owned by the subclass as a
    // RenderContext (it alone knows how to free it); null when refused.
    virtual mpv_render_context* createRenderContext(mpv_handle* mpv) = 0;
    // Frees it before the window goes (the engine is about to).
    virtual void dropRenderContext() = 0;
    // Draws the engine's current frame (black bars around it), or black when
    // render is null.
    virtual void draw(mpv_render_context* render) = 0;
    // Takes a due frame without drawing it, so that the engine's clock goes
    // on while the window is off screen.
    virtual void skipFrame(mpv_render_context* render);
    // Whether the engine's scaling runs on the processor: an OpenGL driver
    // that is the CPU's. Known once the render context is made.
    virtual bool drawsOnCpu() const { return false; }

    // Draws now, if there is anything to draw on.
    void redraw();
    bool onScreen() const;

    void exposeEvent(QExposeEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void onEngineUpdate();
    static void updateCallback(void* self);

    const VideoOutput output_;
    mpv_render_context* render_ = nullptr;
    QueuedWakeup update_;
    ClickReporting<VideoWindow> clicks_{*this};
    bool blank_ = false;
};

}  // namespace sorinel::platform
