// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/screensaver/inhibitor_group.h"

namespace sorinel::desktop {

InhibitorGroup::InhibitorGroup(std::vector<std::unique_ptr<ScreenSaverInhibitor>> members)
    : members_(std::move(members)) {}

InhibitorGroup::~InhibitorGroup() = default;  // each member releases its own hold

void InhibitorGroup::startHolding(const QString& reason) {
    for (auto& m : members_) m->inhibit(reason);
}

void InhibitorGroup::stopHolding() {
    for (auto& m : members_) m->uninhibit();
}

}  // namespace sorinel::desktop
