// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Picture handles: a picture control hands the shell a 32-bit handle of its
// picture (the tray record's hIcon); this table gives those handles to Qt
// icons and back.
//
// GUI thread only. The table is emptied when the application object is
// destroyed, so no pixmap outlives the display connection.

#include <QIcon>
#include <cstdint>

namespace sorinel::platform {

// Registers icon and returns its handle, never 0. Handles are not reused.
std::uint32_t registerPicture(const QIcon& icon);

// The icon of handle; a null QIcon for 0 or an unknown handle.
QIcon pictureFromHandle(std::uint32_t handle);

}  // namespace sorinel::platform
