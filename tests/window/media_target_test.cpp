// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What a request from outside may open (the command line, MPRIS OpenUri):
// which paths are taken and which refused, how file URIs decode to bytes, and
// that the MIME types offered agree with the desktop entry.
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "window/media_target.h"

namespace sorinel::window {
namespace {

using Kind = MediaTarget::Kind;

// The fifteen kinds in any letter case and with any bytes in the name are
// files of their folder, named by their bytes; everything else is refused
// with its reason.
TEST(MediaTarget, TakesMediaFilesAndFoldersAndSaysWhyNot) {
    QTemporaryDir dir;
    const QByteArray root = QFile::encodeName(dir.path());
    const struct {
        QByteArray name;
        Kind kind;
        const char* why = "";
    } rows[] = {
        {"a.mpeg", Kind::File},
        {"a.WMA", Kind::File},
        {"a.wmv", Kind::File},
        {"a.Avi", Kind::File},
        {"a.mov", Kind::File},
        {"a.mpg", Kind::File},
        {"a.mp3", Kind::File},
        {"a.mp2", Kind::File},
        {"a.m2p", Kind::File},
        {"a.wav", Kind::File},
        {"a.asf", Kind::File},
        {"a.midi", Kind::File},
        {"a.aiff", Kind::File},
        {"a.au", Kind::File},
        {"a.dvr-ms", Kind::File},
        {"\xff\xfe clip.mpg", Kind::File},
        {"\x83\x65\x83\x58.wav", Kind::File},
        {"sub", Kind::Folder},
        {"movie.mp4", Kind::Refused, "not a kind of media file"},
        {"a.midi.txt", Kind::Refused, "not a kind of media file"},
        {".hidden.mpg", Kind::Refused, "hidden"},
        {"pipe.mpg", Kind::Refused, "not a file or folder"},
        {"dangling.mpg", Kind::Refused, "no such file or folder"},
        {"missing.mpg", Kind::Refused, "no such file or folder"},
        {"movie.mp4/x.mpg", Kind::Refused, "no such file or folder"},
    };
    for (const auto& row : rows) {
        const QByteArray path = root + '/' + row.name;
        if (row.name == "sub")
            ::mkdir(path.constData(), 0755);
        else if (row.name == "pipe.mpg")
            ::mkfifo(path.constData(), 0644);
        else if (row.name == "dangling.mpg")
            ::symlink("nowhere.mpg", path.constData());
        else if (row.name != "missing.mpg" && !row.name.contains('/'))
            ::close(::open(path.constData(), O_CREAT | O_WRONLY, 0644));
    }
    for (const auto& row : rows) {
        const MediaTarget t = resolveMediaTarget(root + '/' + row.name);
        EXPECT_EQ(t.kind, row.kind) << row.name.constData() << ": " << t.refusal.toStdString();
        EXPECT_TRUE(t.refusal.contains(QLatin1String(row.why)))
            << row.name.constData() << ": " << t.refusal.toStdString();
        EXPECT_EQ(t.folder, row.kind == Kind::Refused  ? QString()
                            : row.kind == Kind::Folder ? dir.filePath("sub")
                                                       : dir.path());
        EXPECT_EQ(t.fileName, row.kind == Kind::File ? row.name : QByteArray()) << row.name.constData();
    }
}

// What the program may not read is refused. Root reads everything, so the
// test looks as an ordinary user would.
TEST(MediaTarget, RefusesWhatCannotBeRead) {
    QTemporaryDir dir;
    const QByteArray root = QFile::encodeName(dir.path());
    ::chmod(root.constData(), 0755);
    ::close(::open((root + "/locked.mpg").constData(), O_CREAT | O_WRONLY, 0));
    ::mkdir((root + "/closed").constData(), 0755);
    ::close(::open((root + "/closed/in.mpg").constData(), O_CREAT | O_WRONLY, 0644));
    ::chmod((root + "/closed").constData(), 0311);  // not listable
    const bool asRoot = ::geteuid() == 0;
    if (asRoot) ASSERT_EQ(::seteuid(65534), 0);  // nobody
    const Kind locked = resolveMediaTarget(root + "/locked.mpg").kind;
    const Kind inClosed = resolveMediaTarget(root + "/closed/in.mpg").kind;
    const Kind closed = resolveMediaTarget(root + "/closed").kind;
    if (asRoot) ASSERT_EQ(::seteuid(0), 0);
    ::chmod((root + "/closed").constData(), 0755);
    EXPECT_EQ(locked, Kind::Refused);
    EXPECT_EQ(inClosed, Kind::Refused);
    EXPECT_EQ(closed, Kind::Refused);
}

// Only local file URIs decode; whatever the engine could open some other way
// (a network, its own protocols) is not one. Every byte a name can hold
// survives the way to a URI and back, in plain ASCII.
TEST(FileUri, OnlyLocalFileUrisDecodeAndEveryByteRoundTrips) {
    const struct {
        const char* uri;
        const char* path;  // nullptr: refused
    } rows[] = {
        {"file:///m/a%20b.mpg", "/m/a b.mpg"},
        {"file://localhost/m/a.mpg", "/m/a.mpg"},
        {"FILE:///m/a.mpg", "/m/a.mpg"},
        {"file:/m/a.mpg", "/m/a.mpg"},
        {"file:///m/%FF%23%3F.mpg", "/m/\xff#?.mpg"},
        {"file://example.com/m/a.mpg", nullptr},
        {"file:///m/a.mpg?x=1", nullptr},
        {"file:///m/a.mpg#t=3", nullptr},
        {"file:///m/a%00.mpg", nullptr},
        {"file:m/a.mpg", nullptr},
        {"/m/a.mpg", nullptr},
        {"http://example.com/a.mpg", nullptr},
        {"lavfi://testsrc", nullptr},
        {"av://lavfi:sine", nullptr},
        {"edl://%10%/m/a.mpg", nullptr},
    };
    for (const auto& row : rows) {
        const auto path = localPathOfFileUri(QString::fromUtf8(row.uri));
        EXPECT_EQ(path.has_value(), row.path != nullptr) << row.uri;
        if (path && row.path) EXPECT_EQ(*path, QByteArray(row.path)) << row.uri;
    }

    QByteArray every("/d/");
    for (int b = 1; b < 256; ++b) every += static_cast<char>(b);
    const QString uri = fileUriOfLocalPath(every);
    EXPECT_EQ(uri.toLatin1(), uri.toUtf8());
    EXPECT_EQ(localPathOfFileUri(uri).value_or(QByteArray()), every);
}

// What MPRIS offers is what the desktop entry lists, and a folder.
TEST(MediaMimeTypes, AgreeWithTheDesktopEntry) {
    QFile entry(QStringLiteral(SORINEL_DESKTOP_ENTRY));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    QStringList listed{QStringLiteral("inode/directory")};
    for (const QByteArray& line : entry.readAll().split('\n'))
        if (line.startsWith("MimeType=")) listed += QString::fromUtf8(line.mid(9)).split(u';', Qt::SkipEmptyParts);
    QStringList offered = mediaTargetMimeTypes();
    listed.sort();
    offered.sort();
    EXPECT_EQ(offered, listed);
}

}  // namespace
}  // namespace sorinel::window
