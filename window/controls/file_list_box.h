// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file list box File1: the matching files of one folder, at most one of
// them selected.
//
// Contract the play-list logic relies on:
//   - Setting Path or Pattern re-reads the folder at once. Setting a Path that
//     cannot be opened throws std::runtime_error and keeps the old folder.
//   - Click is raised synchronously whenever the selected entry changes: by
//     mouse, keyboard, or setSelected() (before that call returns), also when
//     the selection goes away. A re-read that keeps the selected file selected
//     raises nothing, so a resize (which writes Pattern) does not replay it.
//   - A re-read of the same folder that finds the current entry (the one
//     selected last, also after it was deselected) at another row, or finds
//     it back after it had left the folder, raises EntryMoved(from, to)
//     before the call returns.
//   - A re-read that no longer finds the current entry raises
//     EntryRemoved(from, following): it stood at row `from`, and the rows
//     from `following` on list after it. Until it comes back or another
//     entry is selected, its place is kept as the row just before
//     `following` (the `from` of what follows), and later re-reads that
//     shift that place raise EntryRemoved again.
//   - ListCount is 16-bit: a folder with more entries shows the first 32767.
//   - Every entry keeps its name as the file system holds it (bytes, which
//     need not be UTF-8); the text shown is only for people (file_name_text.h).

#include <QListWidget>
#include <QString>
#include <cstdint>
#include <vector>

#include "window/controls/file_name_pattern.h"
#include "window/controls/folder_listing.h"

namespace sorinel::window {

class FileListBox : public QListWidget {
    Q_OBJECT
public:
    static constexpr qsizetype kMaxEntries = 32767;
    static constexpr const char* kInitialPattern = "*.mpeg;*.wma;*.wmv;*.AVI;*.MOV;*.MPG;*.MP3";

    // Starts on the process's working directory with the initial pattern.
    explicit FileListBox(QWidget* parent = nullptr);

    QString Path() const { return path_; }
    void setPath(const QString& folder);
    QString Pattern() const { return pattern_.text(); }
    void setPattern(const QString& patterns);

    QString FileName() const;           // the selected entry's bare name as shown, "" if none
    QByteArray nativeFileName() const;  // the same as the file system names it
    std::int16_t ListIndex() const;     // -1 when nothing is selected
    std::int16_t ListCount() const;
    void setSelected(std::int16_t index, bool selected);
    bool isSelected(std::int16_t index) const;
    QString entry(std::int16_t index) const;  // as shown
    QByteArray nativeEntry(std::int16_t index) const;

    // Reads the folder again (a vanished folder leaves an empty list).
    void refresh();

signals:
    void Click();
    void EntryMoved(std::int16_t from, std::int16_t to);
    void EntryRemoved(std::int16_t from, std::int16_t following);

private:
    void fill(const std::vector<ListedFile>& files, bool sameFolder);
    void onSelectionChanged();

    QString path_;
    FileNamePattern pattern_;
    int reportedIndex_ = -1;  // the selection last reported through Click
    bool refilling_ = false;
    // The entry selected last and its row, kept after a deselection: the
    // play-list logic's index still means it then.
    QByteArray currentName_;
    QString currentShown_;
    int currentRow_ = -1;
    bool currentGone_ = false;  // no longer in the folder; currentRow_ is its place
};

// The folder as the list keeps it: absolute, cleaned, no trailing "/" except
// for the root folder itself.
QString normalizedFolder(const QString& folder);

}  // namespace sorinel::window
