// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The one way an engine thread reaches the GUI thread: however many
// callbacks come, from however many threads, one queued call runs until the
// call has taken the wake-up, and none is lost after that.

#include "platform/engine/queued_wakeup.h"

#include <QCoreApplication>
#include <QObject>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace sorinel::platform {
namespace {

class Target : public QObject {
public:
    QueuedWakeup wakeup;
    int calls = 0;
    void onWakeup() {
        wakeup.taken();
        ++calls;
    }
};

TEST(QueuedWakeup, ManyCallbacksFromEngineThreadsMakeOneCallAndNoneIsLostAfterIt) {
    int argc = 1;
    char name[] = "queued_wakeup_test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    Target target;

    std::vector<std::thread> engineThreads;
    for (int t = 0; t < 4; ++t)
        engineThreads.emplace_back([&target] {
            for (int k = 0; k < 1000; ++k) target.wakeup.post(&target, &Target::onWakeup);
        });
    for (std::thread& thread : engineThreads) thread.join();
    EXPECT_EQ(target.calls, 0) << "nothing runs on an engine thread";
    QCoreApplication::processEvents();
    EXPECT_EQ(target.calls, 1);

    // Taken: the next callback posts again, one more call.
    target.wakeup.post(&target, &Target::onWakeup);
    target.wakeup.post(&target, &Target::onWakeup);
    QCoreApplication::processEvents();
    EXPECT_EQ(target.calls, 2);
}

}  // namespace
}  // namespace sorinel::platform
