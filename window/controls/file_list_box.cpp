#include "window/controls/file_list_box.h"

#include <QDir>
#include <QItemSelectionModel>
#include <stdexcept>

#include "window/controls/folder_listing.h"

namespace sorinel::window {

QString normalizedFolder(const QString& folder) {
    return QDir::cleanPath(QDir(folder).absolutePath());
}

FileListBox::FileListBox(QWidget* parent)
    : QListWidget(parent), pattern_(QString::fromLatin1(kInitialPattern)) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);  // keeps tens of thousands of rows cheap to lay out
    connect(this, &QListWidget::itemSelectionChanged, this, &FileListBox::onSelectionChanged);
    path_ = normalizedFolder(QDir::currentPath());
    refresh();
}

void FileListBox::setPath(const QString& folder) {
    if (folder.isEmpty()) throw std::runtime_error("empty folder");
    const QString normalized = normalizedFolder(folder);
    const auto names = listMatchingFiles(normalized, pattern_, kMaxEntries);
    if (!names) throw std::runtime_error("folder cannot be opened");
    const bool sameFolder = normalized == path_;
    path_ = normalized;
    fill(*names, sameFolder);
}

void FileListBox::setPattern(const QString& patterns) {
    pattern_ = FileNamePattern(patterns);
    refresh();
}

void FileListBox::refresh() {
    fill(listMatchingFiles(path_, pattern_, kMaxEntries).value_or(QStringList()), true);
}

void FileListBox::fill(const QStringList& names, bool sameFolder) {
    const QString selectedName = FileName();
    refilling_ = true;
    clear();
    addItems(names);  // one batch: no per-row layout work
    int keep = -1;
    if (!selectedName.isEmpty()) keep = static_cast<int>(names.indexOf(selectedName));
    if (keep >= 0) setCurrentRow(keep, QItemSelectionModel::ClearAndSelect);
    refilling_ = false;

    // Rows in another folder are other files: nothing there has moved.
    const int movedFrom = currentRow_;
    const int currentNow = sameFolder && !currentName_.isEmpty() ? static_cast<int>(names.indexOf(currentName_))
                                                                 : keep;
    if (currentNow < 0) currentName_.clear();
    currentRow_ = currentNow;

    // The entry counts as the same when the same file stays selected, even if
    // new files moved it to another row.
    const bool sameEntry = keep >= 0 || (selectedName.isEmpty() && reportedIndex_ < 0);
    reportedIndex_ = keep;
    if (sameFolder && currentNow >= 0 && currentNow != movedFrom)
        emit EntryMoved(static_cast<std::int16_t>(movedFrom), static_cast<std::int16_t>(currentNow));
    if (!sameEntry) emit Click();
}

void FileListBox::onSelectionChanged() {
    if (refilling_) return;
    const int now = ListIndex();
    if (now >= 0) {
        currentName_ = item(now)->text();
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

}  // namespace sorinel::window
