#pragma once
// Reads one folder for the file list: the plain files (no folders, no hidden
// dot files) whose names match the pattern, ordered by name ignoring case.
// The folder is read once with readdir; a stat is made only where the
// directory entry does not tell the file's type (symbolic links, some file
// systems), so tens of thousands of files list quickly.

#include <QString>
#include <QStringList>
#include <optional>

#include "window/controls/file_name_pattern.h"

namespace sorinel::window {

// The matching names, at most maxEntries of them (the first ones in order).
// std::nullopt when the folder cannot be opened (missing, unreadable).
std::optional<QStringList> listMatchingFiles(const QString& folder,
                                             const FileNamePattern& pattern,
                                             qsizetype maxEntries);

// Orders names as the list shows them: ignoring case, and by exact spelling
// where two names differ only in case, so the order is always the same.
void sortNamesIgnoringCase(QStringList& names);

}  // namespace sorinel::window
