// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/accessible_roles.h"

#include <QAccessibleWidget>

#include "platform/player/media_player.h"
#include "platform/player/transport_bar.h"
#include "platform/video/video_area.h"
#include "window/form1.h"

namespace sorinel::window {
namespace {

QAccessibleInterface* withRole(const QString&, QObject* object) {
    if (!object || !object->isWidgetType()) return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (qobject_cast<Form1*>(object)) return new QAccessibleWidget(widget, QAccessible::Window);
    if (qobject_cast<platform::MediaPlayer*>(object)) return new QAccessibleWidget(widget, QAccessible::Grouping);
    if (qobject_cast<platform::VideoArea*>(object)) return new QAccessibleWidget(widget, QAccessible::Animation);
    if (qobject_cast<platform::TransportBar*>(object)) return new QAccessibleWidget(widget, QAccessible::ToolBar);
    return nullptr;
}

}  // namespace

void installAccessibleRoles() {
    static const bool installed = [] {
        QAccessible::installFactory(withRole);
        return true;
    }();
    (void)installed;
}

}  // namespace sorinel::window
