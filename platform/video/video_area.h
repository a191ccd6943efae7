// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The player's video area: black until the engine's video window exists,
// then the host of that native window, which is shown only while a file is
// set. A native window lies above every widget drawn into the main window,
// so hiding it while idle keeps the pictures laid over the idle player in
// sight. Clicks are reported alike from the native window and from the
// bare area.

#include "platform/video/click_tracker.h"

#include <QWidget>
#include <memory>

namespace sorinel::platform {

class VideoWindow;

class VideoArea : public QWidget {
    Q_OBJECT
public:
    explicit VideoArea(QWidget* parent = nullptr);

    // Takes the window into a container of its own.
    void setVideoWindow(std::unique_ptr<VideoWindow> window);
    VideoWindow* videoWindow() const { return window_; }

    void setVideoShown(bool on);

signals:
    // As ClickTracker reports them; x, y in pixels of the area.
    void clicked(int button, int shiftState, float x, float y);
    void doubleClicked();
    void escapePressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    VideoWindow* window_ = nullptr;
    std::unique_ptr<QWidget> container_;  // a child, freed before the area's other children
    bool shown_ = false;
    ClickReporting<VideoArea> clicks_{*this};
};

}  // namespace sorinel::platform
