// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/seconds_text.h"

#include <cmath>
#include <string>

#include <gtest/gtest.h>

namespace sorinel::playback {
namespace {

struct TextRow {
    std::string text;
    char decimalPoint;
    std::optional<double> expected;  // empty: not numeric
};

void PrintTo(const TextRow& row, std::ostream* os)
{
    *os << '"' << row.text << "\" with '" << row.decimalPoint << "'";
}

class SecondsTextTest : public ::testing::TestWithParam<TextRow> {};

TEST_P(SecondsTextTest, DecidesNumericAndValueTogether)
{
    const auto& row = GetParam();
    const auto value = secondsFromText(row.text, row.decimalPoint);
    ASSERT_EQ(value.has_value(), row.expected.has_value());
    if (row.expected) {
        EXPECT_DOUBLE_EQ(*value, *row.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SecondsTextTest,
    ::testing::Values(
        TextRow{"10", '.', 10.0}, TextRow{" 3 ", '.', 3.0}, TextRow{"\t7\n", '.', 7.0},
        TextRow{"\u3000"
                "5\u3000",
                '.', 5.0},  // ideographic spaces
        TextRow{"１０", '.', 10.0}, TextRow{"－５", '.', -5.0}, TextRow{"\u22125", '.', -5.0},
        TextRow{"＋４", '.', 4.0}, TextRow{"+4", '.', 4.0}, TextRow{"-4", '.', -4.0}, TextRow{"2.5", '.', 2.5},
        TextRow{"３．５", '.', 3.5}, TextRow{".5", '.', 0.5}, TextRow{"5.", '.', 5.0}, TextRow{"1e3", '.', 1000.0},
        TextRow{"１ｅ３", '.', 1000.0}, TextRow{"2E-1", '.', 0.2}, TextRow{"9e99", '.', 9e99}, TextRow{"0", '.', 0.0},
        TextRow{"1e999", '.', HUGE_VAL},  // numeric, far outside any whole-second range
        // Not numeric.
        TextRow{"", '.', std::nullopt}, TextRow{"   ", '.', std::nullopt}, TextRow{"abc", '.', std::nullopt},
        TextRow{"開始秒", '.', std::nullopt}, TextRow{"終了秒", '.', std::nullopt}, TextRow{"1 0", '.', std::nullopt},
        TextRow{"+", '.', std::nullopt}, TextRow{".", '.', std::nullopt}, TextRow{"e3", '.', std::nullopt},
        TextRow{"1e", '.', std::nullopt}, TextRow{"1e+", '.', std::nullopt}, TextRow{"--1", '.', std::nullopt},
        TextRow{"1.2.3", '.', std::nullopt}, TextRow{"10s", '.', std::nullopt}, TextRow{"0x1A", '.', std::nullopt},
        TextRow{"inf", '.', std::nullopt}, TextRow{"nan", '.', std::nullopt},
        TextRow{"\xff"
                "1",
                '.', std::nullopt},
        TextRow{"1\xe3\x80", '.', std::nullopt},  // a truncated UTF-8 sequence
        // Digit grouping is not accepted; the decimal separator is the locale's.
        TextRow{"1,5", '.', std::nullopt}, TextRow{"1,5", ',', 1.5}, TextRow{"１，５", ',', 1.5},
        TextRow{"1.5", ',', std::nullopt}));

TEST(SystemDecimalPointTest, IsOneOfTheSeparatorsTheConversionKnows)
{
    const char point = systemDecimalPoint();
    EXPECT_TRUE(point == '.' || point == ',');
    // The one-argument form uses that separator.
    const std::string text = std::string("2") + point + "5";
    EXPECT_EQ(secondsFromText(text), std::optional<double>(2.5));
}

}  // namespace
}  // namespace sorinel::playback
