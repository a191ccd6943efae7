// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/media_target.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "window/controls/file_name_pattern.h"
#include "window/controls/file_name_text.h"
#include "window/layout.h"
#include "window/media_kinds.h"

namespace sorinel::window {
namespace {

MediaTarget refused(QString why) {
    MediaTarget t;
    t.refusal = std::move(why);
    return t;
}

QString reasonOf(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("no such file or folder");
    case EACCES:
        return QStringLiteral("permission denied");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

QByteArray workingDirectory() {
    QByteArray buffer(4096, '\0');
    while (!::getcwd(buffer.data(), static_cast<std::size_t>(buffer.size()))) {
        if (errno != ERANGE) return {};
        buffer.resize(buffer.size() * 2);
    }
    return QByteArray(buffer.constData());
}

// The list keeps its folder as text: a folder whose bytes do not come back
// from that text would show another folder, or none.
std::optional<QString> folderAsText(const QByteArray& folder) {
    const QString text = QFile::decodeName(folder);
    if (QFile::encodeName(text) != folder) return std::nullopt;
    return text;
}

// As the program itself would open it: by its effective user.
bool mayAccess(const QByteArray& path, int mode) {
    return ::faccessat(AT_FDCWD, path.constData(), mode, AT_EACCESS) == 0;
}
bool canList(const QByteArray& folder) { return mayAccess(folder, R_OK | X_OK); }

}  // namespace

MediaTarget resolveMediaTarget(const QByteArray& path) {
    if (path.isEmpty()) return refused(QStringLiteral("no such file or folder"));
    if (path.contains('\0')) return refused(QStringLiteral("no such file or folder"));
    QByteArray absolute = path.startsWith('/') ? path : workingDirectory() + '/' + path;
    while (absolute.size() > 1 && absolute.endsWith('/')) absolute.chop(1);

    struct stat st {};
    if (::stat(absolute.constData(), &st) != 0) return refused(reasonOf(errno));

    if (S_ISDIR(st.st_mode)) {
        if (!canList(absolute)) return refused(QStringLiteral("the folder cannot be read"));
        const auto text = folderAsText(absolute);
        if (!text) return refused(QStringLiteral("the folder's name is not in the system's encoding"));
        MediaTarget t;
        t.kind = MediaTarget::Kind::Folder;
        t.folder = *text;
        return t;
    }
    if (!S_ISREG(st.st_mode)) return refused(QStringLiteral("not a file or folder"));

    const qsizetype slash = absolute.lastIndexOf('/');
    const QByteArray name = absolute.mid(slash + 1);
    const QByteArray folder = slash == 0 ? QByteArray("/") : absolute.left(slash);
    // The same test the list makes, so whatever is accepted here is listed.
    static const FileNamePattern media(QString::fromLatin1(kMediaPattern));
    if (!media.matches(shownFileName(name))) return refused(QStringLiteral("not a kind of media file Sorinel plays"));
    if (name.startsWith('.')) return refused(QStringLiteral("a hidden file, which the list does not show"));
    if (!mayAccess(absolute, R_OK)) return refused(QStringLiteral("the file cannot be read"));
    if (!canList(folder)) return refused(QStringLiteral("its folder cannot be read"));
    const auto text = folderAsText(folder);
    if (!text) return refused(QStringLiteral("its folder's name is not in the system's encoding"));

    MediaTarget t;
    t.kind = MediaTarget::Kind::File;
    t.folder = *text;
    t.fileName = name;
    return t;
}

std::optional<QByteArray> localPathOfFileUri(const QString& uri) {
    if (!uri.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) return std::nullopt;
    QString rest = uri.mid(5);
    if (rest.startsWith(QLatin1String("//"))) {
        const qsizetype slash = rest.indexOf(u'/', 2);
        if (slash < 0) return std::nullopt;
        const QString host = rest.mid(2, slash - 2);
        if (!host.isEmpty() && host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) != 0) return std::nullopt;
        rest = rest.mid(slash);
    }
    if (!rest.startsWith(u'/')) return std::nullopt;
    // In a URI these end the path; a name holding them arrives encoded.
    if (rest.contains(u'?') || rest.contains(u'#')) return std::nullopt;
    const QByteArray path = QByteArray::fromPercentEncoding(rest.toUtf8());
    if (path.contains('\0')) return std::nullopt;
    return path;
}

QString fileUriOfLocalPath(const QByteArray& absolutePath) {
    return QStringLiteral("file://") + QString::fromLatin1(absolutePath.toPercentEncoding("/"));
}

QStringList mediaTargetMimeTypes() {
    // The desktop entry's MimeType, from the same list, and a folder.
    QStringList types;
    for (const char* type : media_kinds::kMimeTypes) types += QString::fromLatin1(type);
    types += QStringLiteral("inode/directory");
    return types;
}

}  // namespace sorinel::window
