// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Asks the window, over and over, whether it still answers a person: a
// mouse click is posted to a harmless control (a seconds box, whose click
// only places the caret and selects the text after it) and the time until the
// box raises its Click is recorded. The clicks come from a thread of their
// own, as a person's clicks come whatever the program is doing, and go
// through the event queue like real ones: a click is answered only when the
// event loop (or one of the handlers' own pumping points) gets to it, and a
// frozen window shows as a click that waits.

#include <QApplication>
#include <QMouseEvent>
#include <QObject>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "window/controls/text_box.h"

namespace sorinel::testing {

class ClickProbe : public QObject {
public:
    using Clock = std::chrono::steady_clock;

    // Call on the GUI thread, with the box shown where it stays.
    ClickProbe(window::TextBox& box, int everyMs)
        : box_(box), at_(box.width() - 3, box.height() / 2.0), global_(box.mapToGlobal(at_)) {
        connect(&box_, &window::TextBox::Click, this, [this] {
            if (!pending_.load()) return;
            const auto waited = Clock::now() - Clock::time_point(Clock::duration(sentAt_.load()));
            latencies_.push_back(std::chrono::duration_cast<std::chrono::milliseconds>(waited).count());
            pending_.store(false);
        });
        clicker_ = std::thread([this, everyMs] {
            while (!stopping_.load()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(everyMs));
                if (!pending_.load() && !stopping_.load()) send();
            }
        });
    }
    ~ClickProbe() override { stop(); }

    void stop() {
        stopping_.store(true);
        if (clicker_.joinable()) clicker_.join();
    }

    // Milliseconds from posting each click to its Click, for answered clicks.
    const std::vector<long long>& latencies() const { return latencies_; }
    long long worst() const { return latencies_.empty() ? 0 : *std::max_element(latencies_.begin(), latencies_.end()); }
    // How long the click now waiting has waited, in ms (0 when none waits).
    long long waiting() const {
        if (!pending_.load()) return 0;
        const auto waited = Clock::now() - Clock::time_point(Clock::duration(sentAt_.load()));
        return std::chrono::duration_cast<std::chrono::milliseconds>(waited).count();
    }
    int sent() const { return sent_.load(); }

private:
    void send() {
        sentAt_.store(Clock::now().time_since_epoch().count());
        pending_.store(true);
        ++sent_;
        // postEvent may be called from any thread; the events are delivered
        // on the box's own thread.
        QCoreApplication::postEvent(&box_, new QMouseEvent(QEvent::MouseButtonPress, at_, global_, Qt::LeftButton,
                                                           Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(&box_, new QMouseEvent(QEvent::MouseButtonRelease, at_, global_, Qt::LeftButton,
                                                           Qt::NoButton, Qt::NoModifier));
    }

    window::TextBox& box_;
    const QPointF at_;
    const QPointF global_;
    std::atomic<bool> pending_{false};
    std::atomic<bool> stopping_{false};
    std::atomic<Clock::rep> sentAt_{0};
    std::atomic<int> sent_{0};
    std::vector<long long> latencies_;  // GUI thread only
    std::thread clicker_;
};

}  // namespace sorinel::testing
