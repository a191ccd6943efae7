// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The folder button: the user points at any file of the wanted folder and the
// file list switches to that folder. Every failure (dialog cancelled, no
// usable folder, a folder the list refuses) ends the choice silently, and the
// list keeps the folder it had. Nothing else changes: the file that plays goes
// on playing and the play-list index is untouched.

#include <QString>

namespace sorinel::window {

class FileChooser {
public:
    virtual ~FileChooser() = default;
    virtual bool showOpen() = 0;              // false: cancelled or not shown
    virtual QString chosenPath() const = 0;   // full path of the chosen file
    virtual QString chosenTitle() const = 0;  // its bare name
};

class FolderTarget {
public:
    virtual ~FolderTarget() = default;
    virtual void setFolder(const QString& folder) = 0;  // throws when refused
};

// The chosen file's folder with its trailing separator ("/media/a.mp3" ->
// "/media/", "/a.mp3" -> "/"); empty when the bare name is not the path's
// tail or nothing would be left.
QString folderOfChosenFile(const QString& path, const QString& title);

void chooseFolder(FileChooser& dialog, FolderTarget& list);

}  // namespace sorinel::window
