// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/seconds_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <locale>
#include <string>

namespace sorinel::playback {

namespace {

// Decodes one UTF-8 code point at `pos`; an invalid sequence gives
// U+FFFD and advances one byte, which later rejects the text.
char32_t nextCodePoint(std::string_view s, std::size_t& pos)
{
    const auto b0 = static_cast<unsigned char>(s[pos]);
    int extra = 0;
    char32_t cp = 0;
    if (b0 < 0x80) {
        ++pos;
        return b0;
    } else if ((b0 & 0xE0) == 0xC0) {
        extra = 1;
        cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2;
        cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3;
        cp = b0 & 0x07;
    } else {
        ++pos;
        return 0xFFFD;
    }
    if (pos + extra >= s.size()) {  // truncated sequence
        ++pos;
        return 0xFFFD;
    }
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(s[pos + k]);
        if ((b & 0xC0) != 0x80) {
            ++pos;
            return 0xFFFD;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    pos += extra + 1;
    return cp;
}

bool isSpace(char32_t c)
{
    return c == U' ' || c == U'\t' || c == U'\n' || c == U'\r' || c == U'\v' || c == U'\f' || c == U'\u3000';
}

// The half-width ASCII character a typed character stands for, or 0.
char asciiEquivalent(char32_t c)
{
    if (c >= U'0' && c <= U'9')
        return static_cast<char>(c);
    if (c >= U'\uFF10' && c <= U'\uFF19')
        return static_cast<char>('0' + (c - U'\uFF10'));
    switch (c) {
    case U'+':
    case U'\uFF0B':
        return '+';
    case U'-':
    case U'\uFF0D':
    case U'\u2212':
        return '-';
    case U'.':
    case U'\uFF0E':
        return '.';
    case U',':
    case U'\uFF0C':
        return ',';
    case U'e':
    case U'E':
    case U'\uFF45':
    case U'\uFF25':
        return 'e';
    default:
        return 0;
    }
}

}  // namespace

std::optional<double> secondsFromText(std::string_view text, char decimalPoint)
{
    // Normalise to ASCII first, trimming spaces at both ends only.
    std::string ascii;
    std::size_t pos = 0;
    bool inside = false;
    std::size_t trailingSpaces = 0;
    while (pos < text.size()) {
        const char32_t c = nextCodePoint(text, pos);
        if (isSpace(c)) {
            if (inside)
                ++trailingSpaces;
            continue;
        }
        if (trailingSpaces > 0)
            return std::nullopt;  // a space inside the number
        const char a = asciiEquivalent(c);
        if (a == 0)
            return std::nullopt;
        ascii.push_back(a);
        inside = true;
    }

    // sign? digits* (decimal digits*)? (e sign? digits+)?, with at least one
    // mantissa digit; rewritten into the C form that from_chars reads.
    std::string c_form;
    std::size_t k = 0;
    if (k < ascii.size() && (ascii[k] == '+' || ascii[k] == '-')) {
        if (ascii[k] == '-')
            c_form.push_back('-');
        ++k;
    }
    int mantissaDigits = 0;
    while (k < ascii.size() && ascii[k] >= '0' && ascii[k] <= '9') {
        c_form.push_back(ascii[k++]);
        ++mantissaDigits;
    }
    if (k < ascii.size() && ascii[k] == decimalPoint) {
        c_form.push_back('.');
        ++k;
        while (k < ascii.size() && ascii[k] >= '0' && ascii[k] <= '9') {
            c_form.push_back(ascii[k++]);
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (k < ascii.size() && ascii[k] == 'e') {
        c_form.push_back('e');
        ++k;
        if (k < ascii.size() && (ascii[k] == '+' || ascii[k] == '-')) {
            c_form.push_back(ascii[k]);
            ++k;
        }
        int exponentDigits = 0;
        while (k < ascii.size() && ascii[k] >= '0' && ascii[k] <= '9') {
            c_form.push_back(ascii[k++]);
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return std::nullopt;
    }
    if (k != ascii.size())
        return std::nullopt;

    double value = 0.0;
    const char* first = c_form.data();
    const char* last = c_form.data() + c_form.size();
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ptr != last)
        return std::nullopt;
    if (ec == std::errc::result_out_of_range) {
        // Too large keeps its meaning (a number that fits nothing); too small
        // is zero in effect.
        const bool negative = c_form[0] == '-';
        const auto e = c_form.find('e');
        const bool tiny = e != std::string::npos && c_form[e + 1] == '-';
        if (tiny)
            return negative ? -0.0 : 0.0;
        return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    }
    if (ec != std::errc())
        return std::nullopt;
    return value;
}

std::optional<double> secondsFromText(std::string_view text)
{
    return secondsFromText(text, systemDecimalPoint());
}

char systemDecimalPoint()
{
    static const char point = [] {
        try {
            const char p = std::use_facet<std::numpunct<char>>(std::locale("")).decimal_point();
            return (p == '.' || p == ',') ? p : '.';
        } catch (...) {
            return '.';
        }
    }();
    return point;
}

}  // namespace sorinel::playback
