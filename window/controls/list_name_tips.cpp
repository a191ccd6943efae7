// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/controls/list_name_tips.h"

#include <QHelpEvent>
#include <QListWidget>
#include <QStyle>
#include <QToolTip>

namespace sorinel::window {

ListNameTips::ListNameTips(QListWidget& list) : QObject(&list), list_(list) {
    list_.viewport()->installEventFilter(this);
}

bool ListNameTips::nameIsCut(const QListWidgetItem& item) const {
    const QRect rect = list_.visualItemRect(&item);
    // The entry's text stands inside the item's margins, and the viewport
    // cuts a row that is wider than itself.
    const int margin = list_.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list_) + 1;
    const int room = std::min(rect.right() + 1, list_.viewport()->width()) - std::max(rect.left(), 0) - 2 * margin;
    return list_.fontMetrics().horizontalAdvance(item.text()) > room;
}

bool ListNameTips::eventFilter(QObject* watched, QEvent* event) {
    // The type first: the viewport's events go on while the list is being
    // destroyed, when it is no longer a list to ask for its viewport.
    if (event->type() != QEvent::ToolTip || watched != list_.viewport()) return false;
    const auto* help = static_cast<QHelpEvent*>(event);
    const QListWidgetItem* item = list_.itemAt(help->pos());
    if (item && nameIsCut(*item)) {
        QToolTip::showText(help->globalPos(), item->text(), list_.viewport(), list_.visualItemRect(item));
    } else {
        QToolTip::hideText();
    }
    return true;
}

}  // namespace sorinel::window
