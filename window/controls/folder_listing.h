// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads one folder for the file list: the plain files (no folders, no hidden
// dot files) whose names match the pattern, ordered by name ignoring case.
// The folder is read once with readdir; a stat is made only where the
// directory entry does not tell the file's type (symbolic links, some file
// systems), so tens of thousands of files list quickly.

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

#include "window/controls/file_name_pattern.h"

namespace sorinel::window {

// One file as listed: the name as shown (file_name_text.h) and the name as
// the file system holds it, by which the file is opened.
struct ListedFile {
    QString shown;
    QByteArray native;
};

// The matching files, at most maxEntries of them (the first ones in order).
// std::nullopt when the folder cannot be opened (missing, unreadable).
std::optional<std::vector<ListedFile>> listMatchingFiles(const QString& folder, const FileNamePattern& pattern,
                                                         qsizetype maxEntries);

// Orders files as the list shows them: by shown name ignoring case, then by
// exact spelling, then by the bytes of the name, so the order is always the
// same.
void sortNamesIgnoringCase(std::vector<ListedFile>& files);
bool listsBefore(const ListedFile& a, const ListedFile& b);

}  // namespace sorinel::window
