// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/video/software_video_window.h"

#include <mpv/render.h>

#include <QPainter>

namespace sorinel::platform {

namespace {

// The engine's name for QImage::Format_RGB32 (0xffRRGGBB in a 32-bit word)
// in this machine's byte order. The fourth byte it leaves undefined, which
// that format ignores.
constexpr const char* EngineRgb32 = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? "bgr0" : "0rgb";

void render(mpv_render_context* r, QImage& image, QSize size) {
    int wh[2] = {size.width(), size.height()};
    size_t stride = static_cast<size_t>(image.bytesPerLine());
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_SW_SIZE, wh},        {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char*>(EngineRgb32)},
        {MPV_RENDER_PARAM_SW_STRIDE, &stride}, {MPV_RENDER_PARAM_SW_POINTER, image.bits()},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(r, params);
}

}  // namespace

bool SoftwareVideoWindow::takesEngineFrames(const QImage& image) const {
    // An opaque window's image on X11 comes with an alpha byte that is never
    // shown (Qt picks the premultiplied format for speed): the engine's
    // undefined fourth byte does no harm there.
    return image.format() == QImage::Format_RGB32 ||
           (image.format() == QImage::Format_ARGB32_Premultiplied && !requestedFormat().hasAlpha());
}

SoftwareVideoWindow::SoftwareVideoWindow() : VideoWindow(VideoOutput::Software), store_(this) {
    setSurfaceType(QSurface::RasterSurface);
}

SoftwareVideoWindow::~SoftwareVideoWindow() = default;

mpv_render_context* SoftwareVideoWindow::createRenderContext(mpv_handle* mpv) {
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_SW)},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context* render = nullptr;
    if (mpv_render_context_create(&render, mpv, params) < 0) return nullptr;
    engine_ = RenderContext(render, [](mpv_render_context* r) { mpv_render_context_free(r); });
    return render;
}

void SoftwareVideoWindow::dropRenderContext() {
    engine_.reset();
    frame_ = QImage();
}

void SoftwareVideoWindow::draw(mpv_render_context* render) {
    const QRect area(QPoint(0, 0), size());
    if (area.isEmpty()) return;
    store_.resize(area.size());
    store_.beginPaint(area);
    auto* image = dynamic_cast<QImage*>(store_.paintDevice());
    if (render && image && takesEngineFrames(*image)) {
        ::sorinel::platform::render(render, *image, image->size());
    } else if (render) {
        const QSize pixels = area.size() * devicePixelRatio();
        if (frame_.size() != pixels) frame_ = QImage(pixels, QImage::Format_RGB32);
        ::sorinel::platform::render(render, frame_, pixels);
        QPainter painter(store_.paintDevice());
        painter.drawImage(area, frame_);
    } else {
        QPainter painter(store_.paintDevice());
        painter.fillRect(area, Qt::black);
    }
    store_.endPaint();
    store_.flush(area);
}

}  // namespace sorinel::platform
