// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A window timer: ticks about once per Interval milliseconds while it is
// enabled and its interval is above 0. Interval 0 stops the ticks as surely as
// disabling does. Writing the interval or the enabled state it already has
// leaves the running countdown alone. Ticks never pile up: a tick that falls
// due while the previous one has not been handled is merged into it.

#include <QObject>
#include <QTimer>
#include <cstdint>

namespace sorinel::window {

class IntervalTimer : public QObject {
    Q_OBJECT
public:
    explicit IntervalTimer(std::int32_t intervalMs, bool enabled, QObject* parent = nullptr);

    std::int32_t Interval() const { return interval_; }
    void setInterval(std::int32_t ms);  // negative throws std::invalid_argument
    bool Enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool ticking() const { return timer_.isActive(); }

signals:
    void Timer();

private:
    void apply();

    QTimer timer_;
    std::int32_t interval_;
    bool enabled_;
};

}  // namespace sorinel::window
