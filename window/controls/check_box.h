// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A check box whose Value is 0 or 1. Click is raised on every change of the
// value, by the user or by setValue(), before the change returns; writing the
// value it already has raises nothing.

#include <QCheckBox>

#include "window/controls/option_values.h"

namespace sorinel::window {

class CheckBox : public QCheckBox, public CheckValue {
    Q_OBJECT
public:
    explicit CheckBox(const QString& text, QWidget* parent = nullptr);

    int Value() const override;
    // 0 or 1; any other value throws std::invalid_argument.
    void setValue(int value) override;

signals:
    void Click();
};

}  // namespace sorinel::window
