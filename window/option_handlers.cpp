// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/option_handlers.h"

namespace sorinel::window {

void loop_chk_Click(OrderOptions& o) {
    if (o.loop_chk.Value() == 1) {
        o.loopfl = 1;
        o.randam_chk.setValue(0);
    } else {
        o.loopfl = 0;
    }
}

void randam_chk_Click(OrderOptions& o) {
    if (o.randam_chk.Value() == 1) {
        o.random.reseedFromClock();
        o.randfl = 1;
        o.loop_chk.setValue(0);
    } else {
        o.randfl = 0;
    }
}

void selectToEnd(SelectableText& box) { box.setSelLength(box.textLength()); }

}  // namespace sorinel::window
