// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The video drawn on the CPU by the engine straight into the window's own
// image, which the window system then shows as it is (shared memory on X11,
// a shared buffer on Wayland): one pass over the pixels per frame.

#include "platform/video/render_context.h"
#include "platform/video/video_window.h"

#include <QBackingStore>
#include <QImage>

namespace sorinel::platform {

class SoftwareVideoWindow final : public VideoWindow {
public:
    SoftwareVideoWindow();
    ~SoftwareVideoWindow() override;

protected:
    mpv_render_context* createRenderContext(mpv_handle* mpv) override;
    void dropRenderContext() override;
    void draw(mpv_render_context* render) override;

private:
    // The window's image is in a layout the engine can draw into directly.
    bool takesEngineFrames(const QImage& image) const;

    QBackingStore store_;
    // Where the engine draws when the window's image is not in a layout it
    // can write (a window with an alpha channel): copied over afterwards.
    QImage frame_;
    RenderContext engine_;
};

}  // namespace sorinel::platform
