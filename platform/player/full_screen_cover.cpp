// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/player/full_screen_cover.h"

#include "platform/player/window_manager.h"

#include <QEvent>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QWidget>

namespace sorinel::platform {

FullScreenCover::FullScreenCover(QWidget* widget) : QObject(widget), widget_(widget) {
    escape_ = new QShortcut(QKeySequence(Qt::Key_Escape), widget);
    escape_->setContext(Qt::WindowShortcut);
    escape_->setEnabled(false);
    connect(escape_, &QShortcut::activated, this, [this] { setActive(false); });
}

FullScreenCover::~FullScreenCover() {
    // The window is not restored here: the widget usually dies with its
    // window, which is then half destroyed and must not be re-shown.
    if (window_) window_->removeEventFilter(this);
}

void FullScreenCover::setActive(bool on) {
    if (on == active_) return;
    if (on)
        enter();
    else
        leave();
}

void FullScreenCover::enter() {
    QWidget* win = widget_->window();
    // A window put away (hidden in the tray, or minimised) stays away: a
    // file that starts meanwhile must not throw it back onto the screen.
    if (!win->isVisible() || win->isMinimized()) return;
    active_ = true;
    window_ = win;
    windowStateBefore_ = win->windowState() & ~Qt::WindowFullScreen;
    win->installEventFilter(this);
    escape_->setEnabled(true);
    emit activeChanged(true);
    const QRect normal = win->geometry();
    win->showFullScreen();
    if (fullScreenMustBePlacedByHand()) {
        // Nobody else will: the window is laid over the whole screen and
        // put back where it was when full screen ends.
        placedByHand_ = normal;
        win->setGeometry(win->screen()->geometry());
    }
    coverWindow();
}

void FullScreenCover::leave() {
    active_ = false;
    escape_->setEnabled(false);
    if (window_) {
        window_->removeEventFilter(this);
        const Qt::WindowStates now = window_->windowState();
        // A window minimised while full screen stays minimised.
        if (now & Qt::WindowFullScreen) window_->setWindowState(windowStateBefore_ | (now & Qt::WindowMinimized));
        if (placedByHand_) window_->setGeometry(*placedByHand_);
    }
    placedByHand_.reset();
    window_ = nullptr;
    if (widget_->parentWidget() && placement_.isValid()) widget_->setGeometry(placement_);
    emit activeChanged(false);
}

void FullScreenCover::setPlacement(const QRect& rect) {
    placement_ = rect;
    if (!active_) widget_->setGeometry(rect);
}

void FullScreenCover::coverWindow() {
    QWidget* win = window_;
    if (!win || win == widget_ || !widget_->parentWidget()) return;
    const QPoint origin = widget_->parentWidget()->mapFrom(win, QPoint(0, 0));
    widget_->setGeometry(QRect(origin, win->size()));
    widget_->raise();
}

bool FullScreenCover::eventFilter(QObject* watched, QEvent* event) {
    if (active_ && watched == window_) {
        if (event->type() == QEvent::Resize) {
            // The window manager resizes in steps; follow each one once it
            // has settled in this pass of the event loop.
            QTimer::singleShot(0, this, [this] {
                if (active_) coverWindow();
            });
        } else if (event->type() == QEvent::WindowStateChange && !(window_->windowState() & Qt::WindowFullScreen)) {
            // Someone else ended full screen: follow, so the widget does not
            // stay stretched over the whole window.
            QTimer::singleShot(0, this, [this] { setActive(false); });
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace sorinel::platform
