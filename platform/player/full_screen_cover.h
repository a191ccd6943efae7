// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Full screen for a child widget without moving it to a window of its own
// (which would re-create its video window): the top-level window goes full
// screen and the widget covers all of it. Where no window manager acts on
// the request, the window is laid over the screen by hand. Leaving restores
// the window's state, place and the widget's placement. Esc leaves, and so
// does the window system ending full screen by itself, so a person can
// always get out.

#include <QObject>
#include <QPointer>
#include <QRect>
#include <optional>

class QShortcut;
class QWidget;

namespace sorinel::platform {

class FullScreenCover : public QObject {
    Q_OBJECT
public:
    explicit FullScreenCover(QWidget* widget);
    ~FullScreenCover() override;

    bool active() const { return active_; }
    void setActive(bool on);

    // Where the widget stands when not full screen, in its parent's pixels.
    // While full screen it is only remembered.
    void setPlacement(const QRect& rect);
    QRect placement() const { return placement_; }

signals:
    void activeChanged(bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void enter();
    void leave();
    void coverWindow();

    QWidget* widget_;
    QShortcut* escape_;
    bool active_ = false;
    QRect placement_;
    Qt::WindowStates windowStateBefore_;
    QPointer<QWidget> window_;
    // The window's place before it was laid over the screen by hand.
    std::optional<QRect> placedByHand_;
};

}  // namespace sorinel::platform
