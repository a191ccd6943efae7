// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a request from outside the window may open: a media file of the kinds
// the file list shows, or a folder. Requests come from the command line (a
// file manager's "Open With") and from the desktop's media controls, which
// any program of the session may call; nothing else is opened that way.
//
// Paths are bytes, as the file system holds them: a name need not be UTF-8.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace sorinel::window {

struct MediaTarget {
    enum class Kind { File, Folder, Refused };
    Kind kind = Kind::Refused;
    // The folder the list is to show (a file's own folder), as the list
    // takes it.
    QString folder;
    // A file's bare name, as the file system holds it; empty for a folder.
    QByteArray fileName;
    // For a refusal: why, in a few words for a person ("no such file or folder").
    QString refusal;
};

// Looks at what path names now. A relative path is taken from the working
// directory. Refused: nothing there, something that cannot be read or
// listed, a file whose name is not of the fifteen kinds, and a folder whose
// name the list cannot keep as text.
MediaTarget resolveMediaTarget(const QByteArray& path);

// The local path of a file URI, percent-decoded to bytes ("file:///a%FF.mpg"
// -> "/a\xff.mpg"); "file:/path" and the host "localhost" are taken too.
// Nothing for any other scheme, another host, a query or fragment, or a
// path with a NUL in it.
std::optional<QByteArray> localPathOfFileUri(const QString& uri);

// The file URI of a local path, every byte outside the unreserved ones
// percent-encoded, so any name goes through D-Bus's UTF-8 strings.
QString fileUriOfLocalPath(const QByteArray& absolutePath);

// The MIME types of the fifteen kinds as the shared MIME database names them
// (the desktop entry lists the same), and inode/directory for a folder.
QStringList mediaTargetMimeTypes();

}  // namespace sorinel::window
