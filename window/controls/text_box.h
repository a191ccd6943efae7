// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A one-line text box holding at most four characters (typed or pasted; a
// longer paste is cut). Click is raised when a left mouse click inside the box
// ends, after the click has placed the caret.

#include <QLineEdit>

#include "window/controls/option_values.h"

namespace sorinel::window {

class TextBox : public QLineEdit, public SelectableText {
    Q_OBJECT
public:
    static constexpr int kMaxLength = 4;

    explicit TextBox(const QString& text, QWidget* parent = nullptr);

    int textLength() const override;
    void setSelLength(int length) override;
    int selStart() const;

signals:
    void Click();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace sorinel::window
