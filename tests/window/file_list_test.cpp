// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The file list box: which files it shows, in which order, and when it raises
// Click.
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <algorithm>
#include <fcntl.h>
#include <gtest/gtest.h>

#include "qt_printers.h"
#include <unistd.h>

#include "window/controls/file_list_box.h"
#include "window/controls/file_name_pattern.h"
#include "window/controls/folder_listing.h"

using sorinel::window::FileListBox;
using sorinel::window::FileNamePattern;

namespace {

void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
}

QStringList entries(const FileListBox& list) {
    QStringList out;
    for (std::int16_t k = 0; k < list.ListCount(); ++k) out << list.entry(k);
    return out;
}

struct PatternRow {
    const char* patterns;
    const char* name;
    bool listed;
};

}  // namespace

TEST(FileNamePattern, MatchesWildcardsIgnoringCase) {
    const char* creation = FileListBox::kInitialPattern;
    const PatternRow rows[] = {
        {creation, "clip.avi", true},
        {creation, "SONG.Mp3", true},
        {creation, "movie.mp4", false},
        {creation, "a.mpeg", true},
        {creation, "a.mpeg.txt", false},
        {creation, "mpeg", false},
        {creation, ".mpeg", true},  // the pattern matches; the list drops dot files separately
        {"*.mp?", "x.mp3", true},
        {"*.mp?", "x.mp", false},
        {"*.mp?", "x.mp33", false},
        {"a?c", "abc", true},
        {"a?c", "ac", false},
        {"*", "anything", true},
        {"", "anything", false},
        {";;", "anything", false},
        {"*.wav;", "x.WAV", true},
        {"*.wav;*.au;", "x.au", true},
        {"*.au", "x.aux", false},
        {"*a*b*c", "xxaxxbxxbxc", true},
        {"*a*b*c", "xxaxxbxxbxcd", false},
        {"*.ÄVI", "film.ävi", true},
        {"音楽*", "音楽 01.mp3", true},
    };
    for (const PatternRow& row : rows) {
        const FileNamePattern pattern(QString::fromUtf8(row.patterns));
        EXPECT_EQ(pattern.matches(QString::fromUtf8(row.name)), row.listed) << row.patterns << " / " << row.name;
    }
}

TEST(FileListBox, ListsMatchingPlainVisibleFilesByNameIgnoringCase) {
    QTemporaryDir dir;
    for (const char* name : {"clip.avi", "SONG.Mp3", "movie.mp4", ".x.wmv", "b.MPG", "A.wma", "c.mov",
                             "音楽 「テスト」.mp3", "it's \"odd\".wmv"})
        touch(dir.filePath(QString::fromUtf8(name)));
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.avi"));
    ASSERT_EQ(symlink("clip.avi", QFile::encodeName(dir.filePath("link.avi")).constData()), 0);
    ASSERT_EQ(symlink("folder.avi", QFile::encodeName(dir.filePath("dirlink.avi")).constData()), 0);

    FileListBox list;
    list.setPath(dir.path());
    EXPECT_EQ(entries(list), QStringList({"A.wma", "b.MPG", "c.mov", "clip.avi", "it's \"odd\".wmv", "link.avi",
                                          "SONG.Mp3", QString::fromUtf8("音楽 「テスト」.mp3")}));
    EXPECT_EQ(list.ListCount(), 8);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(list.FileName(), QString());
    EXPECT_EQ(list.Path(), QDir::cleanPath(dir.path()));
}

TEST(FileListBox, StartsOnWorkingDirectoryWithNothingSelected) {
    QTemporaryDir dir;
    touch(dir.filePath("x.MP3"));
    touch(dir.filePath("y.txt"));
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    FileListBox list;
    QDir::setCurrent(old);
    EXPECT_EQ(list.Path(), QDir(dir.path()).canonicalPath());
    EXPECT_EQ(entries(list), QStringList({"x.MP3"}));
    EXPECT_EQ(list.Pattern(), QString("*.mpeg;*.wma;*.wmv;*.AVI;*.MOV;*.MPG;*.MP3"));
    EXPECT_EQ(list.ListIndex(), -1);
}

TEST(FileListBox, PatternWriteRereadsAtOnce) {
    QTemporaryDir dir;
    touch(dir.filePath("a.wav"));
    touch(dir.filePath("b.mp3"));
    FileListBox list;
    list.setPath(dir.path());
    EXPECT_EQ(entries(list), QStringList({"b.mp3"}));
    list.setPattern("*.mpeg;*.wma;*.wmv;*.avi;*.mov;*.mpg;*.mp3;*.mp2;*.m2p;*.wav;*.asf;*.midi;*.aiff;*.au;*.dvr-ms;");
    EXPECT_EQ(entries(list), QStringList({"a.wav", "b.mp3"}));
    touch(dir.filePath("c.au"));
    list.setPattern(list.Pattern());  // the same pattern still re-reads
    EXPECT_EQ(entries(list), QStringList({"a.wav", "b.mp3", "c.au"}));
}

TEST(FileListBox, MissingFolderFailsAndKeepsOldFolder) {
    QTemporaryDir dir;
    touch(dir.filePath("a.mp3"));
    FileListBox list;
    list.setPath(dir.path());
    EXPECT_THROW(list.setPath(dir.filePath("nope")), std::runtime_error);
    EXPECT_THROW(list.setPath(dir.filePath("a.mp3")), std::runtime_error);  // a file, not a folder
    EXPECT_THROW(list.setPath(QString()), std::runtime_error);
    EXPECT_EQ(list.Path(), QDir::cleanPath(dir.path()));
    EXPECT_EQ(entries(list), QStringList({"a.mp3"}));
}

TEST(FileListBox, VanishedOrUnreadableFolderGivesEmptyListOnReread) {
    QTemporaryDir dir;
    const QString sub = dir.filePath("sub");
    QDir().mkdir(sub);
    touch(sub + "/a.mp3");
    FileListBox list;
    list.setPath(sub + "/");
    EXPECT_EQ(list.Path(), sub);  // the trailing separator is not kept
    ASSERT_EQ(list.ListCount(), 1);
    QDir(sub).removeRecursively();
    list.refresh();
    EXPECT_EQ(list.ListCount(), 0);
    EXPECT_EQ(list.ListIndex(), -1);
}

TEST(FileListBox, RootFolderIsKeptAsSlash) {
    FileListBox list;
    list.setPath("/");
    EXPECT_EQ(list.Path(), QString("/"));
}

TEST(FileListBox, NamesThatAreNotUtf8KeepTheirBytesAndShowAsWellAsTheyCan) {
    struct Row {
        QByteArray native;
        QString shown;
    };
    const Row rows[] = {
        {"a-\x8b\xc8.mp3", QString::fromUtf8("a-曲.mp3")},            // CP932, as older Japanese desktops wrote it
        {"b-\xff\xfe.mp3", QString::fromUtf8("b-\uFFFD\uFFFD.mp3")},  // nothing known
        {"b-\xff\xfd.mp3", QString::fromUtf8("b-\uFFFD\uFFFD.mp3")},  // shown alike, another file
        {"c-\xe6\x9b\xb2.mp3", QString::fromUtf8("c-曲.mp3")},        // UTF-8
    };
    QTemporaryDir dir;
    for (const Row& row : rows) {
        const int fd = ::open((QFile::encodeName(dir.path()) + "/" + row.native).constData(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
    FileListBox list;
    list.setPath(dir.path());
    ASSERT_EQ(list.ListCount(), 4);
    QSet<QByteArray> natives;
    for (std::int16_t k = 0; k < list.ListCount(); ++k) {
        natives.insert(list.nativeEntry(k));
        const auto row = std::find_if(std::begin(rows), std::end(rows),
                                      [&](const Row& r) { return r.native == list.nativeEntry(k); });
        ASSERT_NE(row, std::end(rows)) << list.entry(k).toStdString();
        EXPECT_EQ(list.entry(k), row->shown);
    }
    EXPECT_EQ(natives.size(), 4);

    // The selection is the file, not its shown name: a re-read keeps the
    // same one of two names shown alike, and raises nothing.
    list.setSelected(2, true);
    const QByteArray selected = list.nativeFileName();
    QSignalSpy clicks(&list, &FileListBox::Click);
    list.refresh();
    EXPECT_EQ(list.nativeFileName(), selected);
    EXPECT_EQ(clicks.count(), 0);
}

TEST(FileListBox, LongFolderShowsFirst32767InOrder) {
    QTemporaryDir dir;
    const QByteArray base = QFile::encodeName(dir.path());
    for (int k = 0; k < 32770; ++k) {
        const QByteArray name = base + "/f" + QByteArray::number(k).rightJustified(5, '0') + ".mp3";
        const int fd = ::open(name.constData(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
    FileListBox list;
    list.setPath(dir.path());
    EXPECT_EQ(list.ListCount(), 32767);
    EXPECT_EQ(list.entry(0), QString("f00000.mp3"));
    EXPECT_EQ(list.entry(32766), QString("f32766.mp3"));
}

TEST(FileListBox, ClickOnEverySelectionChangeAndOnlyThen) {
    QTemporaryDir dir;
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"}) touch(dir.filePath(name));
    FileListBox list;
    list.setPath(dir.path());
    std::vector<int> seen;  // ListIndex as the handler finds it
    QObject::connect(&list, &FileListBox::Click, [&] { seen.push_back(list.ListIndex()); });

    list.setSelected(1, true);
    EXPECT_EQ(seen, std::vector<int>({1}));
    EXPECT_EQ(list.FileName(), QString("b.mp3"));
    list.setSelected(1, true);  // no change
    EXPECT_EQ(seen.size(), 1u);
    list.setSelected(2, true);
    EXPECT_TRUE(list.isSelected(2));
    EXPECT_FALSE(list.isSelected(1));
    list.setSelected(2, false);
    list.setSelected(2, false);  // already deselected
    list.setSelected(2, true);   // the same entry again is a change
    EXPECT_EQ(seen, std::vector<int>({1, 2, -1, 2}));
    EXPECT_THROW(list.setSelected(3, true), std::out_of_range);
    EXPECT_THROW(list.setSelected(-1, true), std::out_of_range);
}

TEST(FileListBox, RereadKeepsSelectedFileWithoutClick) {
    QTemporaryDir dir;
    for (const char* name : {"b.mp3", "c.mp3"}) touch(dir.filePath(name));
    FileListBox list;
    list.setPath(dir.path());
    list.setSelected(1, true);
    QSignalSpy clicks(&list, &FileListBox::Click);
    touch(dir.filePath("a.mp3"));
    list.setPattern(list.Pattern());
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(list.FileName(), QString("c.mp3"));
    EXPECT_EQ(list.ListIndex(), 2);

    QFile::remove(dir.filePath("c.mp3"));
    list.refresh();  // the selected file went away: the selection did change
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(list.ListIndex(), -1);

    list.setSelected(0, true);
    clicks.clear();
    QTemporaryDir other;
    list.setPath(other.path());
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(list.FileName(), QString());
}

TEST(FileListBox, RereadReportsWhereTheCurrentEntryMoved) {
    QTemporaryDir dir;
    for (const char* name : {"b.mp3", "c.mp3"}) touch(dir.filePath(name));
    FileListBox list;
    list.setPath(dir.path());
    list.setSelected(1, true);
    QSignalSpy moves(&list, &FileListBox::EntryMoved);
    const auto moved = [&] {
        std::vector<std::pair<int, int>> seen;
        for (const auto& args : moves) seen.emplace_back(args.at(0).toInt(), args.at(1).toInt());
        moves.clear();
        return seen;
    };

    list.refresh();
    touch(dir.filePath("d.mp3"));  // below it: nothing moves
    list.refresh();
    EXPECT_EQ(moved(), (std::vector<std::pair<int, int>>{}));

    touch(dir.filePath("a.mp3"));
    list.setPattern(list.Pattern());
    EXPECT_EQ(moved(), (std::vector<std::pair<int, int>>{{1, 2}}));

    // Deselected (as the next-file step does before it chooses), it is still
    // the entry the play-list index means.
    list.setSelected(2, false);
    touch(dir.filePath("a2.mp3"));
    list.refresh();
    EXPECT_EQ(moved(), (std::vector<std::pair<int, int>>{{2, 3}}));
    QFile::remove(dir.filePath("a.mp3"));
    QFile::remove(dir.filePath("a2.mp3"));
    list.refresh();
    EXPECT_EQ(moved(), (std::vector<std::pair<int, int>>{{3, 1}}));

    // Rows of another folder are other files.
    QTemporaryDir other;
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"}) touch(other.filePath(name));
    list.setPath(other.path());
    EXPECT_EQ(moved(), (std::vector<std::pair<int, int>>{}));
}

// The current entry leaves the folder: reported gone, with the row that
// followed it, and again wherever a later re-read shifts its place; reported
// moved when it comes back, whatever row it comes back at.
TEST(FileListBox, RereadReportsTheCurrentEntryGoneAndFollowsItsPlace) {
    QTemporaryDir dir;
    for (const char* name : {"a.mp3", "B.mp3", "c.mp3", "d.mp3"}) touch(dir.filePath(name));
    FileListBox list;
    list.setPath(dir.path());
    list.setSelected(1, true);
    QSignalSpy removed(&list, &FileListBox::EntryRemoved);
    QSignalSpy moves(&list, &FileListBox::EntryMoved);
    const auto pairs = [](QSignalSpy& spy) {
        std::vector<std::pair<int, int>> seen;
        for (const auto& args : spy) seen.emplace_back(args.at(0).toInt(), args.at(1).toInt());
        spy.clear();
        return seen;
    };

    QFile::remove(dir.filePath("B.mp3"));
    list.refresh();
    EXPECT_EQ(pairs(removed), (std::vector<std::pair<int, int>>{{1, 1}}));
    EXPECT_EQ(list.ListIndex(), -1);
    list.refresh();                 // nothing changed: nothing to tell
    touch(dir.filePath("a2.mp3"));  // lists before its place, ignoring case: the place shifts
    list.refresh();
    EXPECT_EQ(pairs(removed), (std::vector<std::pair<int, int>>{{0, 2}}));
    EXPECT_TRUE(pairs(moves).empty());

    touch(dir.filePath("B.mp3"));  // back, at its old place
    list.refresh();
    EXPECT_EQ(pairs(moves), (std::vector<std::pair<int, int>>{{1, 2}}));
    EXPECT_TRUE(pairs(removed).empty());

    // Back at the very row its place was kept at (the entry before it gone
    // in the same re-read): back all the same.
    QFile::remove(dir.filePath("B.mp3"));
    list.refresh();
    EXPECT_EQ(pairs(removed), (std::vector<std::pair<int, int>>{{2, 2}}));
    QFile::remove(dir.filePath("a2.mp3"));
    touch(dir.filePath("B.mp3"));
    list.refresh();
    EXPECT_EQ(pairs(moves), (std::vector<std::pair<int, int>>{{1, 1}}));

    // The last entry gone: nothing follows it.
    list.setSelected(3, true);
    QFile::remove(dir.filePath("d.mp3"));
    list.refresh();
    EXPECT_EQ(pairs(removed), (std::vector<std::pair<int, int>>{{3, 3}}));
}

TEST(FileListBox, KeyboardMovesSelectionAndRaisesClick) {
    QTemporaryDir dir;
    for (const char* name : {"a.mp3", "b.mp3"}) touch(dir.filePath(name));
    FileListBox list;
    list.setPath(dir.path());
    list.setSelected(0, true);
    QSignalSpy clicks(&list, &FileListBox::Click);
    list.show();
    list.setFocus();
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(&list, &down);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(list.ListIndex(), 1);
}
