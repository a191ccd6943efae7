// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 96-byte record that adds and removes the main window's tray icon, built
// byte for byte as the shell expects it: zero-filled, little-endian 32-bit
// integers, the tip in the 8-bit code page.

#include <array>
#include <cstdint>
#include <string_view>

#include "platform/shell/notify_icon_record.h"

namespace sorinel::tray {

inline constexpr std::size_t kTrayRecordSize = platform::notify_icon_record::kSize;
inline constexpr std::size_t kTipFieldSize = platform::notify_icon_record::kTipSize;
inline constexpr std::uint32_t kTrayIconId = 1;
inline constexpr std::uint32_t WM_TRAYCALLBACK = 1025;  // WM_USER + 1

using TrayRecord = std::array<std::uint8_t, kTrayRecordSize>;
using TipField = std::array<std::uint8_t, kTipFieldSize>;

// The tip the icon shows.
inline constexpr std::string_view kTrayTip = "左クリックでSorinel１０を表示";

// The tip text (UTF-8), one NUL, then spaces up to 64 characters, in CP932 and
// cut to 64 bytes. A cut never leaves half a two-byte character: its first
// byte becomes a space.
TipField makeTipField(std::string_view tipUtf8);

// cbSize 96, hWnd, uID 1, uFlags, uCallbackMessage 1025, hIcon, the tip
// field, and the two reserved fields 0.
TrayRecord makeTrayRecord(std::uint32_t hWnd, std::uint32_t uFlags, std::uint32_t hIcon, std::string_view tipUtf8);

}  // namespace sorinel::tray
