// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The repeat and random check boxes, which keep the play-list flags equal to
// their own state and never let both be checked, and the seconds boxes, where
// a click selects from the click to the end so a number can be typed over it.
//
// Re-entrancy is intended: writing 0 to the other box, when it was checked,
// runs that box's handler nested inside this one; it finds 0 and clears its
// own flag, and writes to no box, so the chain ends there.

#include <cstdint>

#include "playback/ports.h"
#include "window/controls/option_values.h"

namespace sorinel::window {

struct OrderOptions {
    CheckValue& loop_chk;
    CheckValue& randam_chk;
    std::int16_t& loopfl;
    std::int16_t& randfl;
    playback::RandomSource& random;
};

void loop_chk_Click(OrderOptions& options);
// Switching random order on re-seeds the generator, every time and only then.
void randam_chk_Click(OrderOptions& options);

// A click in a seconds box: selects from the caret to the end of the text.
void selectToEnd(SelectableText& box);

}  // namespace sorinel::window
