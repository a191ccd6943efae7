// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The video drawn by the engine through OpenGL straight onto the window's
// own surface, where a real driver is at hand.

#include "platform/video/render_context.h"
#include "platform/video/video_window.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>

namespace sorinel::platform {

class OpenGlVideoWindow final : public VideoWindow {
public:
    OpenGlVideoWindow();
    ~OpenGlVideoWindow() override;

protected:
    mpv_render_context* createRenderContext(mpv_handle* mpv) override;
    void dropRenderContext() override;
    void draw(mpv_render_context* render) override;
    void skipFrame(mpv_render_context* render) override;
    bool drawsOnCpu() const override { return onCpu_; }

private:
    static void* procAddress(void* ctx, const char* name);

    QOpenGLContext context_;
    // The engine sets up and lets go of its GL objects here, whether or not
    // the window is on screen at that moment.
    QOffscreenSurface offscreen_;
    bool onCpu_ = false;
    // Declared after the context it is freed in, so that it goes first.
    RenderContext engine_;
};

}  // namespace sorinel::platform
