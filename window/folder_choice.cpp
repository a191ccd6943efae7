// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/folder_choice.h"
#include "playback/failure_stop.h"

namespace sorinel::window {

QString folderOfChosenFile(const QString& path, const QString& title) {
    // The folder is the path less its bare name. A 16-bit character count
    // would wrap on very long paths and cut the path in the wrong place; the
    // full length is used, and a name that is not the path's tail is refused.
    if (title.isEmpty() || !path.endsWith(title)) return {};
    return path.left(path.size() - title.size());
}

void chooseFolder(FileChooser& dialog, FolderTarget& list) {
    // A failure leaves the list with whatever folder it still has.
    playback::stopFailure("choosing a folder", [&] {
        if (!dialog.showOpen()) return;
        const QString folder = folderOfChosenFile(dialog.chosenPath(), dialog.chosenTitle());
        if (folder.isEmpty()) return;
        list.setFolder(folder);
    });
}

}  // namespace sorinel::window
