// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/form1_layout.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWindow>

#include "platform/display_server.h"
#include "platform/shell/window_procedures.h"
#include "window/form1.h"
#include "window/twips.h"

namespace sorinel::window {

void Form1Layout::yield() { QCoreApplication::processEvents(); }

int Form1Layout::windowState() const {
    return form_.isMinimized() ? platform::kWindowStateMinimised : platform::kWindowStateNormal;
}

bool Form1Layout::trayAvailable() const { return form_.trayHoldsWindow(); }

void Form1Layout::hide() { form_.putAwayInTray(); }

// The frame the outer size counts around the client area. A window
// manager's frame (X11) is a title bar with borders of a pixel or so, and is
// counted whole. On Wayland the decorations are drawn by the program itself:
// a taller title bar and a border of several pixels on every side, which is
// where the window is resized. Counted whole, they push the right-hand column
// against the right edge and the seconds boxes past the bottom; so, as a
// window manager's frame would be, only the title bar counts, without the
// border strip that it shares with the other sides.
QSize Form1Layout::frame() const {
    static const bool ownDecorations = platform::runsOnWayland();
    if (ownDecorations) {
        const QWindow* handle = form_.windowHandle();
        if (!handle) return {};
        const QMargins m = handle->frameMargins();
        return QSize(0, std::max(0, m.top() - m.bottom()));
    }
    return form_.frameGeometry().size() - form_.size();
}

float Form1Layout::height() const { return twipsFromPixels(form_.height() + frame().height()); }
float Form1Layout::width() const { return twipsFromPixels(form_.width() + frame().width()); }

// The outer size includes the frame; the widget is sized by its client area.
void Form1Layout::setHeight(float twips) {
    form_.resize(form_.width(), std::max(0, sizeFromTwips(twips) - frame().height()));
}

void Form1Layout::setWidth(float twips) {
    form_.resize(std::max(0, sizeFromTwips(twips) - frame().width()), form_.height());
}

float Form1Layout::top() const { return twipsFromPixels(form_.frameGeometry().top()); }
float Form1Layout::left() const { return twipsFromPixels(form_.frameGeometry().left()); }

QWidget& Form1Layout::widget(LayoutControl control) const {
    switch (control) {
    case LayoutControl::File1:
        return *form_.File1;
    case LayoutControl::Command1:
        return *form_.Command1;
    case LayoutControl::randam_chk:
        return *form_.randam_chk;
    case LayoutControl::loop_chk:
        return *form_.loop_chk;
    case LayoutControl::full_chk:
        return *form_.full_chk;
    case LayoutControl::listloop_chk:
        return *form_.listloop_chk;
    case LayoutControl::StartTime_txt:
        return *form_.StartTime_txt;
    case LayoutControl::EndTime_txt:
        return *form_.EndTime_txt;
    case LayoutControl::Image1:
        return *form_.Image1;
    case LayoutControl::MediaPlayer1:
        return *form_.MediaPlayer1;
    }
    throw std::invalid_argument("unknown control");
}

// The player is placed through its own placement, which it keeps while it
// shows full screen.
QRect Form1Layout::geometryOf(LayoutControl control) const {
    if (control == LayoutControl::MediaPlayer1) return form_.MediaPlayer1->placement();
    return widget(control).geometry();
}

float Form1Layout::get(LayoutControl control, LayoutProperty property) const {
    const QRect r = geometryOf(control);
    switch (property) {
    case LayoutProperty::Left:
        return twipsFromPixels(r.x());
    case LayoutProperty::Top:
        return twipsFromPixels(r.y());
    case LayoutProperty::Width:
        return twipsFromPixels(r.width());
    case LayoutProperty::Height:
        return twipsFromPixels(r.height());
    }
    throw std::invalid_argument("unknown property");
}

void Form1Layout::set(LayoutControl control, LayoutProperty property, float twips) {
    QRect r = geometryOf(control);
    switch (property) {
    case LayoutProperty::Left:
        r.moveLeft(pixelsFromTwips(twips));
        break;
    case LayoutProperty::Top:
        r.moveTop(pixelsFromTwips(twips));
        break;
    case LayoutProperty::Width:
        r.setWidth(sizeFromTwips(twips));
        break;
    case LayoutProperty::Height:
        r.setHeight(sizeFromTwips(twips));
        break;
    }
    if (control == LayoutControl::MediaPlayer1)
        form_.MediaPlayer1->setPlacement(r);
    else
        widget(control).setGeometry(r);
}

void Form1Layout::setPlayerAutoStart(bool on) { form_.MediaPlayer1->setAutoStart(on); }

void Form1Layout::setTimer1Interval(std::int32_t ms) { form_.Timer1->setInterval(ms); }

void Form1Layout::setFilePattern(const std::string& pattern) {
    form_.File1->setPattern(QString::fromStdString(pattern));
}

void Form1Layout::setDialogFilter(const std::string& filter) {
    form_.CommonDialog1->setFilter(QString::fromStdString(filter));
}

}  // namespace sorinel::window
