// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An inhibitor that only records what reaches a backend.

#include "desktop/screensaver/screen_saver_inhibitor.h"

#include <QStringList>

namespace sorinel::testing {

class RecordingInhibitor final : public desktop::ScreenSaverInhibitor {
public:
    // "hold:<reason>" and "release", in order.
    QStringList log;

protected:
    void startHolding(const QString& reason) override { log << "hold:" + reason; }
    void stopHolding() override { log << "release"; }
};

}  // namespace sorinel::testing
