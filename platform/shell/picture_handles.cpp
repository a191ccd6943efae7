// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/shell/picture_handles.h"

#include <QCoreApplication>
#include <unordered_map>

namespace sorinel::platform {
namespace {

struct PictureTable {
    std::unordered_map<std::uint32_t, QIcon> icons;
    // Odd-looking start so a handle is never mistaken for a small count or id.
    std::uint32_t next = 0x00010001;
    const QCoreApplication* cleanupRegisteredFor = nullptr;
};

PictureTable& table() {
    static PictureTable t;
    return t;
}

void clearPictures() { table().icons.clear(); }

}  // namespace

std::uint32_t registerPicture(const QIcon& icon) {
    PictureTable& t = table();
    const QCoreApplication* app = QCoreApplication::instance();
    if (app != nullptr && t.cleanupRegisteredFor != app) {
        qAddPostRoutine(clearPictures);
        t.cleanupRegisteredFor = app;
    }
    if (t.next == 0) t.next = 1;
    const std::uint32_t handle = t.next++;
    t.icons[handle] = icon;
    return handle;
}

QIcon pictureFromHandle(std::uint32_t handle) {
    const auto it = table().icons.find(handle);
    return it == table().icons.end() ? QIcon() : it->second;
}

}  // namespace sorinel::platform
