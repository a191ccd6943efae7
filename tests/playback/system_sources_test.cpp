// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <cmath>
#include <set>

#include <gtest/gtest.h>

#include "playback/system_clock.h"
#include "playback/system_random.h"

namespace sorinel::playback {
namespace {

TEST(SystemRandomTest, StaysWithinZeroToBelowOne)
{
    SystemRandom random(12345u);
    float lowest = 1.0f;
    float highest = 0.0f;
    for (int n = 0; n < 1000000; ++n) {
        const float r = random.next();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        lowest = std::min(lowest, r);
        highest = std::max(highest, r);
    }
    // Spread over the whole interval, not stuck in part of it.
    EXPECT_LT(lowest, 0.001f);
    EXPECT_GT(highest, 0.999f);
}

TEST(SystemRandomTest, SameSeedSameSequenceAndReseedingChangesIt)
{
    SystemRandom a(99u);
    SystemRandom b(99u);
    std::set<float> firstTen;
    for (int n = 0; n < 10; ++n) {
        const float r = a.next();
        EXPECT_EQ(r, b.next());
        firstTen.insert(r);
    }
    EXPECT_GT(firstTen.size(), 5u);
    b.reseedFromClock();
    int same = 0;
    for (int n = 0; n < 10; ++n)
        same += a.next() == b.next() ? 1 : 0;
    EXPECT_LT(same, 10);
}

TEST(SystemClockTest, ReadingsAreConsistentWithOneAnother)
{
    SystemClock clock;
    // Read the field on both sides so that a change of second in between
    // does not make the comparison meaningless.
    for (int attempt = 0; attempt < 5; ++attempt) {
        const int before = clock.secondsField();
        const float seconds = clock.secondsSinceMidnight();
        const int after = clock.secondsField();
        ASSERT_GE(seconds, 0.0f);
        ASSERT_LT(seconds, 86401.0f);
        ASSERT_GE(before, 0);
        ASSERT_LE(before, 59);
        if (before == after) {
            // A float holds seconds of the day to about 8 ms.
            const int field = static_cast<int>(std::floor(seconds + 0.01)) % 60;
            const int fieldBelow = static_cast<int>(std::floor(seconds - 0.01)) % 60;
            EXPECT_TRUE(field == before || fieldBelow == before) << seconds << " vs " << before;
            break;
        }
    }
    const double m1 = clock.monotonicSeconds();
    const double m2 = clock.monotonicSeconds();
    EXPECT_GE(m2, m1);
}

}  // namespace
}  // namespace sorinel::playback
