// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/play_pause_key.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

#include "platform/video/video_window.h"

namespace sorinel::window {

PlayPauseKey::PlayPauseKey(QWidget& window, std::function<void()> toggle)
    : QObject(&window), window_(&window), toggle_(std::move(toggle)) {
    qApp->installEventFilter(this);
}

PlayPauseKey::~PlayPauseKey() {
    if (qApp) qApp->removeEventFilter(this);
}

bool PlayPauseKey::pausesFrom(const QObject* receiver) const {
    if (!window_ || !receiver) return false;
    // The video is a native window of its own, outside the widget tree.
    if (qobject_cast<const platform::VideoWindow*>(receiver)) return true;
    if (!receiver->isWidgetType()) return false;  // the window's own handle: the focus widget follows
    const auto* widget = static_cast<const QWidget*>(receiver);
    if (widget->window() != window_) return false;  // a dialog, a menu
    if (qobject_cast<const QLineEdit*>(widget)) return false;
    if (qobject_cast<const QAbstractButton*>(widget)) return false;
    return true;
}

bool PlayPauseKey::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Space || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
    if (!pausesFrom(watched)) return false;
    if (!key->isAutoRepeat() && toggle_) toggle_();
    return true;
}

}  // namespace sorinel::window
