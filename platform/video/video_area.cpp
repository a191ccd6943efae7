// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/video/video_area.h"

#include "platform/video/video_window.h"

#include <QPointer>
#include <QVBoxLayout>

namespace sorinel::platform {

VideoArea::VideoArea(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::ClickFocus);
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
}

void VideoArea::setVideoWindow(std::unique_ptr<VideoWindow> window) {
    window_ = window.get();
    connect(window_, &VideoWindow::clicked, this, &VideoArea::clicked);
    connect(window_, &VideoWindow::doubleClicked, this, &VideoArea::doubleClicked);
    connect(window_, &VideoWindow::escapePressed, this, &VideoArea::escapePressed);
    container_.reset();
    const QSurface::SurfaceType drawsWith = window_->surfaceType();
    container_.reset(QWidget::createWindowContainer(window.release(), this));
    // The container makes a software window one that could take OpenGL as
    // well: that loads the OpenGL driver and gives the window an alpha
    // channel the engine's frames would have to be copied to fill.
    window_->setSurfaceType(drawsWith);
    container_->setVisible(shown_);
    layout()->addWidget(container_.get());
}

void VideoArea::setVideoShown(bool on) {
    shown_ = on;
    if (container_) container_->setVisible(on);
}

void VideoArea::mousePressEvent(QMouseEvent* event) { clicks_.press(*event); }
void VideoArea::mouseDoubleClickEvent(QMouseEvent* event) { clicks_.doubleClickPress(*event); }
void VideoArea::mouseReleaseEvent(QMouseEvent* event) { clicks_.release(*event, size()); }

}  // namespace sorinel::platform
