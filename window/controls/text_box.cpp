// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/controls/text_box.h"

#include <QMouseEvent>
#include <algorithm>

namespace sorinel::window {

TextBox::TextBox(const QString& text, QWidget* parent) : QLineEdit(parent) {
    setMaxLength(kMaxLength);
    setText(text);
}

int TextBox::textLength() const { return static_cast<int>(text().size()); }

int TextBox::selStart() const { return hasSelectedText() ? selectionStart() : cursorPosition(); }

void TextBox::setSelLength(int length) {
    const int start = selStart();
    const int len = std::clamp(length, 0, std::max(0, textLength() - start));
    if (len == 0) {
        deselect();
        setCursorPosition(start);
    } else {
        setSelection(start, len);
    }
}

void TextBox::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit Click();
}

}  // namespace sorinel::window
