// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/controls/file_list_box.h"

#include <QDir>
#include <QItemSelectionModel>
#include <QSignalBlocker>
#include <algorithm>
#include <stdexcept>

namespace sorinel::window {

namespace {
// Where each row keeps its name as the file system holds it.
constexpr int kNativeNameRole = Qt::UserRole;
}  // namespace

QString normalizedFolder(const QString& folder) { return QDir::cleanPath(QDir(folder).absolutePath()); }

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent), pattern_(QString::fromLatin1(kInitialPattern)) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);  // keeps tens of thousands of rows cheap to lay out
    connect(this, &QListWidget::itemSelectionChanged, this, &FileListBox::onSelectionChanged);
    path_ = normalizedFolder(QDir::currentPath());
    refresh();
}

void FileListBox::setPath(const QString& folder) {
    if (folder.isEmpty()) throw std::runtime_error("empty folder");
    const QString normalized = normalizedFolder(folder);
    const auto files = listMatchingFiles(normalized, pattern_, kMaxEntries);
    if (!files) throw std::runtime_error("folder cannot be opened");
    const bool sameFolder = normalized == path_;
    path_ = normalized;
    fill(*files, sameFolder);
}

void FileListBox::setPattern(const QString& patterns) {
    pattern_ = FileNamePattern(patterns);
    refresh();
}

void FileListBox::refresh() {
    fill(listMatchingFiles(path_, pattern_, kMaxEntries).value_or(std::vector<ListedFile>()), true);
}

void FileListBox::fill(const std::vector<ListedFile>& files, bool sameFolder) {
    const QByteArray selectedName = nativeFileName();
    QStringList shown;
    shown.reserve(static_cast<qsizetype>(files.size()));
    int keep = -1;
    int currentFound = -1;
    for (const ListedFile& file : files) {
        if (keep < 0 && !selectedName.isEmpty() && file.native == selectedName) keep = static_cast<int>(shown.size());
        if (currentFound < 0 && !currentName_.isEmpty() && file.native == currentName_)
            currentFound = static_cast<int>(shown.size());
        shown.push_back(file.shown);
    }
    refilling_ = true;
    clear();
    addItems(shown);  // one batch: no per-row layout work
    {
        // Not shown, so the view need not hear of it: one signal per row
        // would cost more than the whole listing for a large folder.
        const QSignalBlocker quiet(model());
        for (int k = 0; k < count(); ++k) item(k)->setData(kNativeNameRole, files[static_cast<std::size_t>(k)].native);
    }
    if (keep >= 0) setCurrentRow(keep, QItemSelectionModel::ClearAndSelect);
    refilling_ = false;

    // The entry counts as the same when the same file stays selected, even if
    // new files moved it to another row.
    const bool sameEntry = keep >= 0 || (selectedName.isEmpty() && reportedIndex_ < 0);
    reportedIndex_ = keep;

    // Rows in another folder are other files: nothing there has moved.
    const int movedFrom = currentRow_;
    const bool wasGone = currentGone_;
    if (sameFolder && !currentName_.isEmpty() && currentFound < 0) {
        // The current entry has left the folder. Its place is kept where it
        // would stand now, just before the first entry that lists after it,
        // so the play list can go on from there.
        const ListedFile gone{currentShown_, currentName_};
        const auto following = std::lower_bound(files.begin(), files.end(), gone, listsBefore) - files.begin();
        currentRow_ = static_cast<int>(following) - 1;
        currentGone_ = true;
    } else {
        currentRow_ = sameFolder && !currentName_.isEmpty() ? currentFound : keep;
        if (currentRow_ < 0) currentName_.clear();
        currentGone_ = false;
    }

    // Gone, or its place shifted while gone: EntryRemoved. Listed at another
    // row, or back in the folder (at whatever row): EntryMoved.
    if (currentGone_ && (!wasGone || currentRow_ != movedFrom))
        emit EntryRemoved(static_cast<std::int16_t>(movedFrom), static_cast<std::int16_t>(currentRow_ + 1));
    else if (sameFolder && !currentGone_ && currentRow_ >= 0 && (currentRow_ != movedFrom || wasGone))
        emit EntryMoved(static_cast<std::int16_t>(movedFrom), static_cast<std::int16_t>(currentRow_));
    if (!sameEntry) emit Click();
}

void FileListBox::onSelectionChanged() {
    if (refilling_) return;
    const int now = ListIndex();
    if (now >= 0) {
        currentName_ = item(now)->data(kNativeNameRole).toByteArray();
        currentShown_ = item(now)->text();
        currentGone_ = false;
        currentRow_ = now;
    }
    if (now == reportedIndex_) return;
    reportedIndex_ = now;
    emit Click();
}

QString FileListBox::FileName() const {
    const auto selected = selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

QByteArray FileListBox::nativeFileName() const {
    const auto selected = selectedItems();
    return selected.isEmpty() ? QByteArray() : selected.first()->data(kNativeNameRole).toByteArray();
}

std::int16_t FileListBox::ListIndex() const {
    const auto selected = selectedItems();
    return selected.isEmpty() ? std::int16_t{-1} : static_cast<std::int16_t>(row(selected.first()));
}

std::int16_t FileListBox::ListCount() const { return static_cast<std::int16_t>(count()); }

void FileListBox::setSelected(std::int16_t index, bool selected) {
    QListWidgetItem* target = item(index);
    if (!target) throw std::out_of_range("no such list entry");
    if (selected) {
        setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
        scrollToItem(target);
    } else {
        target->setSelected(false);
    }
}

bool FileListBox::isSelected(std::int16_t index) const {
    const QListWidgetItem* target = item(index);
    return target && target->isSelected();
}

QString FileListBox::entry(std::int16_t index) const {
    const QListWidgetItem* target = item(index);
    return target ? target->text() : QString();
}

QByteArray FileListBox::nativeEntry(std::int16_t index) const {
    const QListWidgetItem* target = item(index);
    return target ? target->data(kNativeNameRole).toByteArray() : QByteArray();
}

}  // namespace sorinel::window
