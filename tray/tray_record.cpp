// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tray/tray_record.h"

#include <algorithm>
#include <string>

#include "platform/shell/ansi_codepage.h"

namespace sorinel::tray {
namespace {

// Number of characters of a UTF-8 text (its code points).
std::size_t characterCount(std::string_view utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

}  // namespace

TipField makeTipField(std::string_view tipUtf8) {
    // The field is formed as a text of exactly 64 characters before the
    // conversion, so the spaces count characters, not bytes.
    std::string text(tipUtf8);
    text.push_back('\0');
    const std::size_t characters = characterCount(tipUtf8) + 1;
    if (characters < kTipFieldSize) text.append(kTipFieldSize - characters, ' ');

    const std::string ansi = platform::utf8ToAnsi(text);
    TipField field{};
    const std::size_t length = std::min(ansi.size(), field.size());
    std::copy_n(ansi.begin(), length, field.begin());

    // Walk the characters to see whether the cut fell inside one.
    std::size_t k = 0;
    while (k < length) {
        const auto byte = static_cast<unsigned char>(ansi[k]);
        if (platform::isAnsiLeadByte(byte) && k + 1 < ansi.size()) {
            if (k + 1 >= length) {
                field[k] = ' ';
                break;
            }
            k += 2;
        } else {
            k += 1;
        }
    }
    return field;
}

TrayRecord makeTrayRecord(std::uint32_t hWnd, std::uint32_t uFlags, std::uint32_t hIcon, std::string_view tipUtf8) {
    namespace r = platform::notify_icon_record;
    TrayRecord record{};
    r::write32(record, r::kCbSize, kTrayRecordSize);
    r::write32(record, r::kHWnd, hWnd);
    r::write32(record, r::kUID, kTrayIconId);
    r::write32(record, r::kUFlags, uFlags);
    r::write32(record, r::kUCallbackMessage, WM_TRAYCALLBACK);
    r::write32(record, r::kHIcon, hIcon);
    const TipField tip = makeTipField(tipUtf8);
    std::copy(tip.begin(), tip.end(), record.begin() + r::kSzTip);
    // The two reserved integers after the tip are left 0.
    return record;
}

}  // namespace sorinel::tray
