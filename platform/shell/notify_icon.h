// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The shell's notification-area call as the other desktop defines it, backed
// by QSystemTrayIcon. The caller passes an 8-bit (ANSI) NOTIFYICONDATA record
// laid out as notify_icon_record.h says; hIcon is a handle of
// picture_handles.h; cbSize at least 88.
//
// An icon is named by (hWnd, uID). While it exists and has a callback message,
// what the user does with it reaches the window's current procedure as
// SendMessageA(hWnd, uCallbackMessage, uID, mouse number).
//
// GUI thread only; needs a QApplication. Icons still present when the
// application object is destroyed are removed then.

#include <QSystemTrayIcon>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace sorinel::platform {

inline constexpr std::uint32_t NIM_ADD = 0;
inline constexpr std::uint32_t NIM_DELETE = 2;

inline constexpr std::uint32_t NIF_MESSAGE = 1;
inline constexpr std::uint32_t NIF_ICON = 2;
inline constexpr std::uint32_t NIF_TIP = 4;

struct NotifyIconFields {
    std::uint32_t cbSize = 0;
    std::uint32_t hWnd = 0;
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    std::uint32_t hIcon = 0;
    std::string tip;  // UTF-8
};

// The fields of record, or nothing when record is shorter than 88 bytes or
// than its own cbSize says, or cbSize is below 88.
std::optional<NotifyIconFields> readNotifyIconRecord(std::span<const std::uint8_t> record);

// NIM_ADD shows a new icon with the fields uFlags names (fails if (hWnd, uID)
// exists); NIM_DELETE removes it at once (fails if it does not exist). Returns
// the success flag; any other message, a bad record or no QApplication fail
// and change nothing.
bool Shell_NotifyIconA(std::uint32_t dwMessage, std::span<const std::uint8_t> record);

// The icon (hWnd, uID) while it exists: whether a window put away has its
// way back, and what the tests look at.
const QSystemTrayIcon* findNotifyIcon(std::uint32_t hWnd, std::uint32_t uID);

}  // namespace sorinel::platform
