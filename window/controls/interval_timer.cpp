// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/controls/interval_timer.h"

#include <stdexcept>

namespace sorinel::window {

IntervalTimer::IntervalTimer(std::int32_t intervalMs, bool enabled, QObject* parent)
    : QObject(parent), interval_(0), enabled_(enabled) {
    // A QTimer posts at most one timer event per countdown, so missed ticks
    // are never queued up behind a busy handler.
    timer_.setTimerType(Qt::CoarseTimer);
    connect(&timer_, &QTimer::timeout, this, &IntervalTimer::Timer);
    setInterval(intervalMs);
}

void IntervalTimer::setInterval(std::int32_t ms) {
    if (ms < 0) throw std::invalid_argument("timer interval must not be negative");
    if (ms == interval_ && (timer_.isActive() || ms == 0 || !enabled_)) return;
    interval_ = ms;
    apply();
}

void IntervalTimer::setEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    apply();
}

void IntervalTimer::apply() {
    if (enabled_ && interval_ > 0)
        timer_.start(interval_);
    else
        timer_.stop();
}

}  // namespace sorinel::window
