// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/controls/open_file_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QListView>
#include <QSplitter>
#include <QScrollBar>
#include <QTreeView>
#include <algorithm>

namespace sorinel::window {

QStringList nameFiltersFrom(const QString& filter) {
    QStringList result;
    const QStringList parts = filter.split(u'|');
    for (qsizetype k = 0; k + 1 < parts.size(); k += 2) {
        QStringList patterns;
        for (const QString& p : parts[k + 1].split(u';', Qt::SkipEmptyParts)) {
            const QString t = p.trimmed();
            patterns << (t == QLatin1String("*.*") ? QStringLiteral("*") : t);
        }
        if (patterns.isEmpty()) patterns << QStringLiteral("*");
        result << QStringLiteral("%1 (%2)").arg(parts[k], patterns.join(u' '));
    }
    return result;
}

OpenFileDialog::OpenFileDialog(QWidget* parent) : parent_(parent) {}

void OpenFileDialog::setFilter(const QString& filter) { filter_ = filter; }

PortalRequest portalRequestFrom(const QString& filter) {
    PortalRequest request;
    const QStringList parts = filter.split(u'|');
    if (parts.size() < 2) return request;
    request.filterName = parts[0];
    for (const QString& p : parts[1].split(u';', Qt::SkipEmptyParts)) {
        const QString t = p.trimmed();
        request.patterns << (t == QLatin1String("*.*") ? QStringLiteral("*") : t);
    }
    return request;
}

namespace {

// Qt's own dialog sizes its columns for English; in Japanese, with a CJK font,
// the date and type columns came out cut. Each column gets at least the room
// its heading and its widest entry ask for, and the dialog the room for all.
void fitDetailColumns(QFileDialog& dialog) {
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!view) return;  // the desktop's own dialog: nothing of Qt's to fit
    QHeaderView* header = view->header();
    header->setMinimumSectionSize(header->fontMetrics().horizontalAdvance(QStringLiteral("MMMM")));
    int total = 0;
    for (int column = 0; column < header->count(); ++column) {
        const int wanted = std::max(header->sectionSizeHint(column),
                                    static_cast<QAbstractItemView*>(view)->sizeHintForColumn(column)) +
                           header->fontMetrics().horizontalAdvance(u'M');
        if (column > 0) header->resizeSection(column, std::max(header->sectionSize(column), wanted));
        total += header->sectionSize(column);
    }
    const int room = total + view->verticalScrollBar()->sizeHint().width() + 2 * view->frameWidth();
    int grow = std::max(0, room - view->width());

    // The places on the left ("コンピュータ" and the folders) whole as well.
    auto* sidebar = dialog.findChild<QListView*>(QStringLiteral("sidebar"));
    auto* splitter = dialog.findChild<QSplitter*>(QStringLiteral("splitter"));
    if (sidebar && splitter && splitter->count() == 2) {
        const int wanted = static_cast<QAbstractItemView*>(sidebar)->sizeHintForColumn(0) + 2 * sidebar->frameWidth() +
                           sidebar->fontMetrics().horizontalAdvance(u'M');
        QList<int> sizes = splitter->sizes();
        if (sizes.size() == 2 && sizes[0] < wanted) {
            grow += wanted - sizes[0];
            sizes[1] += std::max(0, room - sizes[1]);
            sizes[0] = wanted;
            dialog.resize(dialog.width() + grow, dialog.height());
            splitter->setSizes(sizes);
            return;
        }
    }
    if (grow > 0) dialog.resize(dialog.width() + grow, dialog.height());
}

}  // namespace

bool OpenFileDialog::showOpen() {
    const QString folder = initDir_.isEmpty() ? QDir::currentPath() : initDir_;
    // The desktop's own chooser first, where the session has one.
    PortalRequest request = portalRequestFrom(filter_);
    request.parent = parent_;
    request.title = title_;
    request.folder = folder;
    QString chosenPath;
    switch (openWithPortal(request, &chosenPath)) {
    case PortalOutcome::Chosen:
        return accept(chosenPath);
    case PortalOutcome::Cancelled:
        return false;
    case PortalOutcome::Unavailable:
        break;
    }

    // Then the platform theme's native dialog where it has one (KDE, GTK),
    // and Qt's own elsewhere.
    QFileDialog dialog(parent_, title_, folder);
    dialog.setObjectName(QStringLiteral("CommonDialog1"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setViewMode(QFileDialog::Detail);
    const QStringList filters = nameFiltersFrom(filter_);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    // The folder is read in the background, and sizes and dates arrive after
    // the names; files come and go while the dialog is open. Each change
    // fits the columns again, once the changes of the moment are in.
    bool fitPending = false;
    const auto fitSoon = [&dialog, &fitPending] {
        if (fitPending) return;
        fitPending = true;
        QMetaObject::invokeMethod(
            &dialog,
            [&dialog, &fitPending] {
                fitPending = false;
                fitDetailColumns(dialog);
            },
            Qt::QueuedConnection);
    };
    if (auto* model = dialog.findChild<QFileSystemModel*>()) {
        QObject::connect(model, &QFileSystemModel::directoryLoaded, &dialog, fitSoon);
        QObject::connect(model, &QAbstractItemModel::rowsInserted, &dialog, fitSoon);
        QObject::connect(model, &QAbstractItemModel::dataChanged, &dialog, fitSoon);
        QObject::connect(model, &QAbstractItemModel::layoutChanged, &dialog, fitSoon);
    }
    fitSoon();
    if (dialog.exec() != QDialog::Accepted) return false;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return false;
    return accept(chosen.first());
}

bool OpenFileDialog::accept(const QString& path) {
    if (path.isEmpty()) return false;
    fileName_ = path;
    fileTitle_ = QFileInfo(fileName_).fileName();
    return true;
}

}  // namespace sorinel::window
