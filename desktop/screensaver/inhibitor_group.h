// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Several backends driven as one: the desktop may honour one and ignore the
// others, and holding through all of them costs nothing.

#include "desktop/screensaver/screen_saver_inhibitor.h"

#include <memory>
#include <vector>

namespace sorinel::desktop {

class InhibitorGroup final : public ScreenSaverInhibitor {
public:
    explicit InhibitorGroup(std::vector<std::unique_ptr<ScreenSaverInhibitor>> members);
    ~InhibitorGroup() override;

protected:
    void startHolding(const QString& reason) override;
    void stopHolding() override;

private:
    std::vector<std::unique_ptr<ScreenSaverInhibitor>> members_;
};

}  // namespace sorinel::desktop
