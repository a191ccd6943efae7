// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/controls/check_box.h"

#include <stdexcept>

namespace sorinel::window {

CheckBox::CheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) {
    // toggled fires for user clicks and for setChecked alike, synchronously.
    connect(this, &QCheckBox::toggled, this, [this] { emit Click(); });
}

int CheckBox::Value() const { return isChecked() ? 1 : 0; }

void CheckBox::setValue(int value) {
    if (value != 0 && value != 1) throw std::invalid_argument("check box value must be 0 or 1");
    setChecked(value == 1);
}

}  // namespace sorinel::window
