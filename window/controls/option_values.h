// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the option handlers need of a check box and of a seconds box, so they
// can be exercised without a window.

namespace sorinel::window {

class CheckValue {
public:
    virtual ~CheckValue() = default;
    virtual int Value() const = 0;  // 0 unchecked, 1 checked
    // Writing a different value raises the box's Click before returning.
    virtual void setValue(int value) = 0;
};

class SelectableText {
public:
    virtual ~SelectableText() = default;
    virtual int textLength() const = 0;  // in characters
    // Selects length characters from the current selection start; a length
    // that runs past the end selects up to the end.
    virtual void setSelLength(int length) = 0;
};

}  // namespace sorinel::window
