// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 8-bit NOTIFYICONDATA record as the shell's notification-area call reads
// it and the tray writes it: little-endian 32-bit integers at fixed offsets,
// then the tip, then two reserved integers. Both sides go through this
// header, so an offset is said once.

#include <cstddef>
#include <cstdint>
#include <span>

namespace sorinel::platform::notify_icon_record {

inline constexpr std::size_t kCbSize = 0;
inline constexpr std::size_t kHWnd = 4;
inline constexpr std::size_t kUID = 8;
inline constexpr std::size_t kUFlags = 12;
inline constexpr std::size_t kUCallbackMessage = 16;
inline constexpr std::size_t kHIcon = 20;
inline constexpr std::size_t kSzTip = 24;
inline constexpr std::size_t kTipSize = 64;  // CP932 bytes, read up to the NUL
// The fields a reader needs; the whole record adds the reserved integers.
inline constexpr std::size_t kMinSize = kSzTip + kTipSize;
inline constexpr std::size_t kSize = kMinSize + 2 * 4;
static_assert(kMinSize == 88 && kSize == 96);

inline std::uint32_t read32(std::span<const std::uint8_t> record, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t k = 0; k < 4; ++k) value |= static_cast<std::uint32_t>(record[offset + k]) << (8 * k);
    return value;
}

inline void write32(std::span<std::uint8_t> record, std::size_t offset, std::uint32_t value) {
    for (std::size_t k = 0; k < 4; ++k) record[offset + k] = static_cast<std::uint8_t>(value >> (8 * k));
}

}  // namespace sorinel::platform::notify_icon_record
