// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/controls/folder_listing.h"

#include "window/controls/file_name_text.h"

#include <QFile>
#include <algorithm>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>

namespace sorinel::window {
namespace {

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

bool isPlainFile(int dirFd, const dirent* entry) {
    switch (entry->d_type) {
    case DT_REG:
        return true;
    case DT_UNKNOWN:
    case DT_LNK: {
        // A link counts as what it points at, as it does for a file dialog.
        struct stat st {};
        return fstatat(dirFd, entry->d_name, &st, 0) == 0 && S_ISREG(st.st_mode);
    }
    default:
        return false;
    }
}

}  // namespace

bool listsBefore(const ListedFile& a, const ListedFile& b) {
    const int folded = a.shown.compare(b.shown, Qt::CaseInsensitive);
    if (folded != 0) return folded < 0;
    if (a.shown != b.shown) return a.shown < b.shown;
    return a.native < b.native;
}

void sortNamesIgnoringCase(std::vector<ListedFile>& files) { std::sort(files.begin(), files.end(), listsBefore); }

std::optional<std::vector<ListedFile>> listMatchingFiles(const QString& folder, const FileNamePattern& pattern,
                                                         qsizetype maxEntries) {
    const QByteArray encoded = QFile::encodeName(folder);
    std::unique_ptr<DIR, DirCloser> dir(opendir(encoded.constData()));
    if (!dir) return std::nullopt;
    const int fd = dirfd(dir.get());

    std::vector<ListedFile> files;
    while (const dirent* entry = readdir(dir.get())) {
        if (entry->d_name[0] == '.') continue;  // hidden, and "." / ".."
        // The pattern's extensions are ASCII, which every way of showing a
        // name keeps.
        QByteArray native(entry->d_name);
        QString shown = shownFileName(native);
        if (!pattern.matches(shown)) continue;
        if (!isPlainFile(fd, entry)) continue;
        files.push_back({std::move(shown), std::move(native)});
    }
    sortNamesIgnoringCase(files);
    if (maxEntries >= 0 && static_cast<qsizetype>(files.size()) > maxEntries)
        files.resize(static_cast<std::size_t>(maxEntries));
    return files;
}

}  // namespace sorinel::window
