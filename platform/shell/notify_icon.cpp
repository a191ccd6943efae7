// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/shell/notify_icon.h"

#include <QApplication>
#include <map>
#include <memory>
#include <utility>

#include "platform/failures.h"
#include "platform/shell/ansi_codepage.h"
#include "platform/shell/notification_icon.h"
#include "platform/shell/notify_icon_record.h"
#include "platform/shell/picture_handles.h"
#include "platform/shell/window_procedures.h"

namespace sorinel::platform {
namespace {

using IconKey = std::pair<std::uint32_t, std::uint32_t>;  // hWnd, uID

struct IconEntry {
    std::unique_ptr<NotificationIcon> icon;
    bool hasCallback = false;
    std::uint32_t callbackMessage = 0;
};

struct IconTable {
    std::map<IconKey, IconEntry> icons;
    const QCoreApplication* cleanupRegisteredFor = nullptr;
};

IconTable& table() {
    static IconTable t;
    return t;
}

void removeAllIcons() {
    // The display connection is about to go: the icons go now, not later.
    table().icons.clear();
}

void deliverMouseMessage(IconKey key, std::int32_t mouseMessage) {
    const auto it = table().icons.find(key);
    if (it == table().icons.end() || !it->second.hasCallback) return;
    const auto callback = static_cast<std::int32_t>(it->second.callbackMessage);
    // Runs from the event loop: a failing window procedure must not take the
    // loop down with it.
    platform::atEventLoopBoundary("tray icon click", [&] {
        SendMessageA(static_cast<std::int32_t>(key.first), callback, static_cast<std::int32_t>(key.second),
                     mouseMessage);
    });
}

void applyFields(IconEntry& entry, const NotifyIconFields& fields) {
    if (fields.uFlags & NIF_MESSAGE) {
        entry.hasCallback = true;
        entry.callbackMessage = fields.uCallbackMessage;
    }
    if (fields.uFlags & NIF_ICON) entry.icon->setIcon(pictureFromHandle(fields.hIcon));
    if (fields.uFlags & NIF_TIP) entry.icon->setTip(QString::fromStdString(fields.tip));
}

bool addIcon(const NotifyIconFields& fields) {
    IconTable& t = table();
    const IconKey key{fields.hWnd, fields.uID};
    if (t.icons.contains(key)) return false;
    if (t.cleanupRegisteredFor != QCoreApplication::instance()) {
        qAddPostRoutine(removeAllIcons);
        t.cleanupRegisteredFor = QCoreApplication::instance();
    }
    IconEntry entry;
    entry.icon = std::make_unique<NotificationIcon>(
        [key](std::int32_t mouseMessage) { deliverMouseMessage(key, mouseMessage); });
    applyFields(entry, fields);
    entry.icon->show();
    t.icons.emplace(key, std::move(entry));
    return true;
}

bool removeIcon(const NotifyIconFields& fields) {
    const auto it = table().icons.find({fields.hWnd, fields.uID});
    if (it == table().icons.end()) return false;
    std::unique_ptr<NotificationIcon> icon = std::move(it->second.icon);
    table().icons.erase(it);
    // Gone from the screen now; deleted later because the removal may come
    // from a window procedure that the icon's own click is still running.
    icon->hide();
    icon.release()->deleteLater();
    return true;
}

}  // namespace

std::optional<NotifyIconFields> readNotifyIconRecord(std::span<const std::uint8_t> record) {
    namespace r = notify_icon_record;
    if (record.size() < r::kMinSize) return std::nullopt;
    NotifyIconFields fields;
    fields.cbSize = r::read32(record, r::kCbSize);
    if (fields.cbSize < r::kMinSize || fields.cbSize > record.size()) return std::nullopt;
    fields.hWnd = r::read32(record, r::kHWnd);
    fields.uID = r::read32(record, r::kUID);
    fields.uFlags = r::read32(record, r::kUFlags);
    fields.uCallbackMessage = r::read32(record, r::kUCallbackMessage);
    fields.hIcon = r::read32(record, r::kHIcon);

    const auto tipField = record.subspan(r::kSzTip, r::kTipSize);
    std::size_t length = 0;
    while (length < tipField.size() && tipField[length] != 0) ++length;
    fields.tip = ansiToUtf8(std::string_view(reinterpret_cast<const char*>(tipField.data()), length));
    return fields;
}

bool Shell_NotifyIconA(std::uint32_t dwMessage, std::span<const std::uint8_t> record) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return false;
    const std::optional<NotifyIconFields> fields = readNotifyIconRecord(record);
    if (!fields) return false;
    switch (dwMessage) {
    case NIM_ADD:
        return addIcon(*fields);
    case NIM_DELETE:
        return removeIcon(*fields);
    default:
        return false;
    }
}

const QSystemTrayIcon* findNotifyIcon(std::uint32_t hWnd, std::uint32_t uID) {
    const auto it = table().icons.find({hWnd, uID});
    return it == table().icons.end() ? nullptr : &it->second.icon->trayIcon();
}

}  // namespace sorinel::platform
