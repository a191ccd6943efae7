// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/shell/window_handles.h"

#include <QVariant>
#include <QWidget>

namespace sorinel::platform {

std::uint32_t handleOfWindow(QWidget& window) {
    // Small positive numbers: the handle is also passed as a signed 32-bit value.
    static std::uint32_t next = 0x10000;
    constexpr const char* kProperty = "sorinelWindowHandle";
    const QVariant held = window.property(kProperty);
    if (held.isValid()) return held.toUInt();
    const std::uint32_t handle = next++;
    window.setProperty(kProperty, handle);
    return handle;
}

}  // namespace sorinel::platform
