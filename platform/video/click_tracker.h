// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Turns the mouse events of the video area (its native window, or the area
// itself before there is one) into the player's clicks: a press and a
// release of the same button inside the area. The release that ends a left
// double-click also reports the double-click, after its own click.

#include <QMouseEvent>
#include <QPointer>
#include <optional>
#include <utility>

namespace sorinel::platform {

class ClickTracker {
public:
    struct Click {
        int button;      // 1 left, 2 right, 4 middle
        int shiftState;  // 1 Shift, 2 Ctrl, 4 Alt
        float x, y;
    };
    struct Outcome {
        std::optional<Click> click;
        bool doubleClick = false;
    };

    void press(const QMouseEvent& event) { pressed_ = event.button(); }

    // Raised after the second press of a double-click.
    void doubleClickPress(const QMouseEvent& event) {
        pressed_ = event.button();
        doublePressed_ = event.button() == Qt::LeftButton;
    }

    Outcome release(const QMouseEvent& event, const QSizeF& area) {
        Outcome out;
        const bool sameButton = std::exchange(pressed_, Qt::NoButton) == event.button();
        out.doubleClick = std::exchange(doublePressed_, false) && event.button() == Qt::LeftButton;
        const QPointF at = event.position();
        const int button = buttonNumber(event.button());
        if (sameButton && button != 0 && QRectF(QPointF(), area).contains(at))
            out.click =
                Click{button, shiftState(event.modifiers()), static_cast<float>(at.x()), static_cast<float>(at.y())};
        return out;
    }

private:
    static int buttonNumber(Qt::MouseButton b) {
        switch (b) {
        case Qt::LeftButton:
            return 1;
        case Qt::RightButton:
            return 2;
        case Qt::MiddleButton:
            return 4;
        default:
            return 0;
        }
    }
    static int shiftState(Qt::KeyboardModifiers m) {
        return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
    }

    Qt::MouseButton pressed_ = Qt::NoButton;
    bool doublePressed_ = false;
};

// The mouse handlers of a reporter of clicks (the native video window, or
// the area before it has one): every event is taken, and a release raises
// the reporter's clicked(), then doubleClicked() if the reporter survived
// the click. After the click: a click that resumes playback may ask for full
// screen again (the program does so on every playing report while its full
// screen option is set), and the double-click must win over it.
template <class Reporter>
class ClickReporting {
public:
    explicit ClickReporting(Reporter& reporter) : reporter_(reporter) {}

    void press(QMouseEvent& event) {
        clicks_.press(event);
        event.accept();
    }
    void doubleClickPress(QMouseEvent& event) {
        clicks_.doubleClickPress(event);
        event.accept();
    }
    void release(QMouseEvent& event, const QSizeF& area) {
        event.accept();
        const ClickTracker::Outcome out = clicks_.release(event, area);
        QPointer<Reporter> alive(&reporter_);
        if (out.click) emit reporter_.clicked(out.click->button, out.click->shiftState, out.click->x, out.click->y);
        if (alive && out.doubleClick) emit reporter_.doubleClicked();
    }

private:
    Reporter& reporter_;
    ClickTracker clicks_;
};

}  // namespace sorinel::platform
