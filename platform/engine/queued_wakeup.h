// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The engine calls back on its own threads, as often as it likes (sometimes
// from inside a call made on the GUI thread). Such a callback only posts one
// queued call to the object's thread; further callbacks until that call runs
// post nothing.

#include <QMetaObject>
#include <atomic>

namespace sorinel::platform {

class QueuedWakeup {
public:
    // From any thread.
    template <class Target, class Method>
    void post(Target* target, Method method) {
        if (pending_.exchange(true)) return;
        QMetaObject::invokeMethod(target, method, Qt::QueuedConnection);
    }
    // First thing in the queued call: a callback from here on posts again.
    void taken() { pending_ = false; }

private:
    std::atomic<bool> pending_{false};
};

}  // namespace sorinel::platform
