// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/random_draw.h"

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "fakes.h"

namespace sorinel::playback {
namespace {

using testing::FakeClock;
using testing::ScriptedRandom;
using testing::SeededRandom;

// Chi-square critical value at p = 0.001 (Wilson-Hilferty approximation):
// with a seeded generator the counts are the same on every run, and a
// distribution that gives the ends full weight, or lets indices below the
// seconds through, lies far beyond it.
double chiSquareCritical(int degreesOfFreedom)
{
    const double k = degreesOfFreedom;
    const double z = 3.090;
    const double t = 1.0 - 2.0 / (9.0 * k) + z * std::sqrt(2.0 / (9.0 * k));
    return k * t * t * t;
}

// Expected share of each index 0..L. Short rule (s = 0): r * L spans
// [0, L), so indices 0 and L get half a unit each and the others one. Rule
// with the seconds (s >= 1): r * L + s spans [s, L + s), draws above L + 0.5
// are repeated, so index s gets half a unit and s + 1 .. L one each.
std::vector<double> expectedShares(int L, int s)
{
    std::vector<double> shares(L + 1, 0.0);
    if (L == 0) {
        shares[0] = 1.0;
        return shares;
    }
    if (s == 0) {
        for (int k = 0; k <= L; ++k)
            shares[k] = (k == 0 || k == L ? 0.5 : 1.0) / L;
        return shares;
    }
    const double total = (L - s) + 0.5;
    for (int k = s; k <= L; ++k)
        shares[k] = (k == s ? 0.5 : 1.0) / total;
    return shares;
}

struct DrawRow {
    int entries;
    int secondsField;
    int expectedLowest;  // no index below this one may come out
};

class RandomDrawDistributionTest : public ::testing::TestWithParam<DrawRow> {};

TEST_P(RandomDrawDistributionTest, FollowsTheRoundedProductWithinChiSquareBound)
{
    const auto row = GetParam();
    const int L = row.entries - 1;
    FakeClock clock;
    clock.fixedSecondsField = row.secondsField;
    SeededRandom random(7u + static_cast<unsigned>(row.entries));
    const int draws = 200000;
    std::vector<int> counts(row.entries, 0);
    for (int n = 0; n < draws; ++n) {
        const auto index = drawRandomIndex(static_cast<std::int16_t>(L), random, clock);
        ASSERT_GE(index, 0);
        ASSERT_LE(index, L);
        ++counts[index];
    }

    const int s = row.entries > 61 ? row.secondsField : 0;
    const auto shares = expectedShares(L, s);
    double chi = 0.0;
    int cells = 0;
    for (int k = 0; k <= L; ++k) {
        if (shares[k] == 0.0) {
            EXPECT_EQ(counts[k], 0) << "index " << k << " cannot come out";
            continue;
        }
        const double expected = shares[k] * draws;
        chi += (counts[k] - expected) * (counts[k] - expected) / expected;
        ++cells;
    }
    for (int k = 0; k < row.expectedLowest; ++k)
        EXPECT_EQ(counts[k], 0) << "index " << k;
    EXPECT_GT(counts[row.expectedLowest], 0);
    if (cells > 1) {
        EXPECT_LT(chi, chiSquareCritical(cells - 1)) << "entries " << row.entries;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, RandomDrawDistributionTest,
                         ::testing::Values(DrawRow{1, 0, 0}, DrawRow{2, 0, 0}, DrawRow{10, 0, 0},
                                           DrawRow{10, 45, 0},   // short lists ignore the seconds
                                           DrawRow{61, 30, 0},   // 61 entries: still the short rule
                                           DrawRow{62, 30, 30},  // 62 entries: the rule with the seconds
                                           DrawRow{62, 0, 0}, DrawRow{100, 30, 30}, DrawRow{100, 59, 59}));

TEST(RandomDrawTest, EmptyListGivesMinusOne)
{
    FakeClock clock;
    SeededRandom random;
    EXPECT_EQ(drawRandomIndex(-1, random, clock), -1);
}

TEST(RandomDrawTest, LongestListDrawAboveTheTopIsRepeatedWithoutOverflow)
{
    // 32,767 entries at second 59: r close to 1 lands near 32,825, above
    // both L and the 16-bit range, and must simply be drawn again.
    FakeClock clock;
    clock.fixedSecondsField = 59;
    ScriptedRandom random({0.99999994f, 0.9999f, 0.5f});
    const auto index = drawRandomIndex(32766, random, clock);
    EXPECT_EQ(random.draws, 3);
    EXPECT_EQ(index, static_cast<std::int32_t>(std::nearbyint(0.5 * 32766.0 + 59.0)));
}

TEST(RandomDrawTest, RereadsTheSecondsAtEveryRepetition)
{
    // 100 entries: r = 0.9 lands at 89.1 + s. At s = 30 that is above 99 and
    // is drawn again; by then the seconds read 5, giving 94.
    class TickingClock : public FakeClock {
    public:
        int reads = 0;
        int secondsField() override { return reads++ == 0 ? 30 : 5; }
    } clock;
    ScriptedRandom random({0.9f});
    EXPECT_EQ(drawRandomIndex(99, random, clock), 94);
    EXPECT_EQ(clock.reads, 2);
}

TEST(RandomDrawTest, ShortListRoundsHalfToEven)
{
    // L = 4: r = 0.625 gives 2.5, rounded to 2; r = 0.875 gives 3.5, to 4.
    FakeClock clock;
    ScriptedRandom half({0.625f});
    EXPECT_EQ(drawRandomIndex(4, half, clock), 2);
    ScriptedRandom threeAndHalf({0.875f});
    EXPECT_EQ(drawRandomIndex(4, threeAndHalf, clock), 4);
}

}  // namespace
}  // namespace sorinel::playback
