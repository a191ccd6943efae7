#include "window/controls/folder_listing.h"

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

void sortNamesIgnoringCase(QStringList& names) {
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
}

std::optional<QStringList> listMatchingFiles(const QString& folder,
                                             const FileNamePattern& pattern,
                                             qsizetype maxEntries) {
    const QByteArray encoded = QFile::encodeName(folder);
    std::unique_ptr<DIR, DirCloser> dir(opendir(encoded.constData()));
    if (!dir) return std::nullopt;
    const int fd = dirfd(dir.get());

    QStringList names;
    while (const dirent* entry = readdir(dir.get())) {
        if (entry->d_name[0] == '.') continue;  // hidden, and "." / ".."
        // decodeName never fails: names that are not valid UTF-8 get
        // replacement characters instead of breaking the list.
        const QString name = QFile::decodeName(entry->d_name);
        if (!pattern.matches(name)) continue;
        if (!isPlainFile(fd, entry)) continue;
        names.push_back(name);
    }
    sortNamesIgnoringCase(names);
    if (maxEntries >= 0 && names.size() > maxEntries) names.resize(maxEntries);
    return names;
}

}  // namespace sorinel::window
