// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one conversion of a seconds box's text: it decides both whether the
// text is numeric and what its value is, so the two can never disagree.
//
// Accepted, as a Japanese user types it with the input method on or off:
// spaces around the number (ASCII white space and the ideographic space
// U+3000), an optional sign (+ - and the full-width ＋ － and U+2212 minus),
// digits (also full-width ０-９), one decimal separator, and an exponent
// (e/E, also full-width ｅ/Ｅ) with optional sign. The decimal separator is
// the system locale's (full-width ． and ， count as . and ,). Digit grouping
// is not accepted: in a locale whose decimal point is "." the text "1,5" is
// not numeric, where it is 1.5 in a locale that writes decimals with ",".

#include <optional>
#include <string_view>

namespace sorinel::playback {

// Empty when the text is not numeric (an empty text is not numeric). A
// numeric text too large for a double gives an infinite value.
std::optional<double> secondsFromText(std::string_view text);

// The same with an explicit decimal separator (for tests and other locales).
std::optional<double> secondsFromText(std::string_view text, char decimalPoint);

// The system locale's decimal point, read once from std::locale(""): the
// program sets LC_NUMERIC to "C" for the player, so the C library's current
// setting is not the user's. Falls back to '.'.
char systemDecimalPoint();

}  // namespace sorinel::playback
