// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A tooltip with the whole name over a list entry whose name the list shows
// cut short (too long for the list's width); none over a name that shows
// whole.

#include <QObject>

class QListWidget;
class QListWidgetItem;

namespace sorinel::window {

class ListNameTips : public QObject {
    Q_OBJECT
public:
    explicit ListNameTips(QListWidget& list);

    // Whether the list shows that entry's name cut short.
    bool nameIsCut(const QListWidgetItem& item) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListWidget& list_;
};

}  // namespace sorinel::window
