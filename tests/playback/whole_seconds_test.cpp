// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/whole_seconds.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace sorinel::playback {
namespace {

struct RoundRow {
    double seconds;
    std::optional<std::int32_t> expected;
};

class WholeSecondsTest : public ::testing::TestWithParam<RoundRow> {};

TEST_P(WholeSecondsTest, RoundsHalfToEvenWithin32Bits)
{
    EXPECT_EQ(roundToWholeSeconds(GetParam().seconds), GetParam().expected) << GetParam().seconds;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WholeSecondsTest,
    ::testing::Values(
        RoundRow{0.0, 0}, RoundRow{0.5, 0}, RoundRow{0.5000001, 1}, RoundRow{0.4999999, 0}, RoundRow{1.5, 2},
        RoundRow{2.5, 2}, RoundRow{3.5, 4}, RoundRow{10.5, 10}, RoundRow{290.4, 290}, RoundRow{290.5, 290},
        RoundRow{290.6, 291}, RoundRow{291.5, 292}, RoundRow{-0.5, 0}, RoundRow{-1.5, -2}, RoundRow{-2.5, -2},
        RoundRow{-2.6, -3}, RoundRow{2147483647.0, 2147483647}, RoundRow{2147483647.4, 2147483647},
        RoundRow{2147483647.5, std::nullopt},  // the even neighbour 2^31 does not fit
        RoundRow{2147483646.5, 2147483646}, RoundRow{-2147483648.0, std::numeric_limits<std::int32_t>::min()},
        RoundRow{-2147483648.5, std::numeric_limits<std::int32_t>::min()},  // even: -2^31
        RoundRow{-2147483649.5, std::nullopt}, RoundRow{9e99, std::nullopt}, RoundRow{-9e99, std::nullopt},
        RoundRow{std::numeric_limits<double>::infinity(), std::nullopt}, RoundRow{std::nan(""), std::nullopt}));

}  // namespace
}  // namespace sorinel::playback
