// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The folder button's choice: the folder taken from the chosen file, the
// silent failures, and the whole road through the real dialog.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "qt_printers.h"

#include "dialog_driver.h"
#include "window/controls/file_list_box.h"
#include "window/controls/open_file_dialog.h"
#include "window/folder_choice.h"

using namespace sorinel::window;

namespace {

class FakeChooser : public FileChooser {
public:
    bool shows = true;
    bool throws = false;
    QString path, title;
    bool showOpen() override {
        if (throws) throw std::runtime_error("dialog cannot be shown");
        return shows;
    }
    QString chosenPath() const override { return path; }
    QString chosenTitle() const override { return title; }
};

class FakeTarget : public FolderTarget {
public:
    bool refuses = false;
    QStringList set;
    void setFolder(const QString& folder) override {
        if (refuses) throw std::runtime_error("no such folder");
        set << folder;
    }
};

}  // namespace

TEST(FolderOfChosenFile, KeepsTheTrailingSeparator) {
    struct Row {
        const char* path;
        const char* title;
        const char* folder;
    };
    const Row rows[] = {
        {"/media/a.mp3", "a.mp3", "/media/"},
        {"/a.mp3", "a.mp3", "/"},
        {"/x/音楽 フォルダ/曲 1.mp3", "曲 1.mp3", "/x/音楽 フォルダ/"},
        {"a.mp3", "a.mp3", ""},         // nothing left
        {"/media/a.mp3", "", ""},       // no bare name
        {"/media/a.mp3", "b.mp3", ""},  // not the path's tail
        {"/media/a.mp3", "/media/a.mp3/", ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(folderOfChosenFile(QString::fromUtf8(row.path), QString::fromUtf8(row.title)),
                  QString::fromUtf8(row.folder))
            << row.path << " | " << row.title;
}

TEST(FolderOfChosenFile, PathsLongerThanA16BitCountAreNotCut) {
    const QString folder = "/" + QString(40000, u'd') + "/";
    EXPECT_EQ(folderOfChosenFile(folder + "a.mp3", "a.mp3"), folder);
}

TEST(ChooseFolder, SetsTheFolderOrEndsSilently) {
    struct Row {
        bool shows;
        bool throws;
        bool refuses;
        const char* path;
        const char* title;
        QStringList set;
    };
    const Row rows[] = {
        {true, false, false, "/m/a.mp3", "a.mp3", {"/m/"}},
        {false, false, false, "/m/a.mp3", "a.mp3", {}},  // cancelled
        {true, true, false, "/m/a.mp3", "a.mp3", {}},    // dialog fails
        {true, false, true, "/m/a.mp3", "a.mp3", {}},    // list refuses the folder
        {true, false, false, "a.mp3", "a.mp3", {}},      // empty folder
    };
    for (const Row& row : rows) {
        FakeChooser dialog;
        dialog.shows = row.shows;
        dialog.throws = row.throws;
        dialog.path = row.path;
        dialog.title = row.title;
        FakeTarget list;
        list.refuses = row.refuses;
        EXPECT_NO_THROW(chooseFolder(dialog, list));
        EXPECT_EQ(list.set, row.set) << row.path;
    }
}

namespace {

// The real dialog and the real list, as the window joins them.
class DialogChooser : public FileChooser {
public:
    explicit DialogChooser(OpenFileDialog& d) : dialog(d) {}
    bool showOpen() override { return dialog.showOpen(); }
    QString chosenPath() const override { return dialog.FileName(); }
    QString chosenTitle() const override { return dialog.FileTitle(); }
    OpenFileDialog& dialog;
};

class ListTarget : public FolderTarget {
public:
    explicit ListTarget(FileListBox& l) : list(l) {}
    void setFolder(const QString& folder) override { list.setPath(folder); }
    FileListBox& list;
};

void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
}

}  // namespace

TEST(ChooseFolderThroughTheRealDialog, TypedPathsSwitchTheListAndCancelKeepsIt) {
    QTemporaryDir root;
    const QString start = root.filePath("start");
    QDir().mkpath(start);
    touch(start + "/first.mp3");

    FileListBox list;
    list.setPath(start);
    OpenFileDialog dialog(nullptr);
    dialog.setFilter(QString::fromUtf8("メディアファイル|*.*"));
    DialogChooser chooser(dialog);
    ListTarget target(list);

    struct Row {
        const char* folder;
        const char* file;
    };
    const Row rows[] = {
        {"音楽 フォルダ", "曲 一.mp3"},
        // Double quotes are left out: Qt's dialog reads a typed '"' as the
        // start of a list of names.
        {"it's odd & (1) #%$,;[]~", "a b=c+d.Mp3"},
        {"plain", "x.avi"},
    };
    for (const Row& row : rows) {
        const QString folder = root.filePath(QString::fromUtf8(row.folder));
        QDir().mkpath(folder);
        const QString file = folder + "/" + QString::fromUtf8(row.file);
        touch(file);
        sorinel::testing::driveNextFileDialog(file);
        chooseFolder(chooser, target);
        ASSERT_TRUE(sorinel::testing::lastDialogWasDriven());
        EXPECT_EQ(list.Path(), folder) << row.folder;
        ASSERT_EQ(list.ListCount(), 1) << row.folder;
        EXPECT_EQ(list.entry(0), QString::fromUtf8(row.file));
    }

    const QString before = list.Path();
    sorinel::testing::driveNextFileDialog(QString());  // Escape
    chooseFolder(chooser, target);
    EXPECT_TRUE(sorinel::testing::lastDialogWasDriven());
    EXPECT_EQ(list.Path(), before);
}
