// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a person does on the file list to play an entry, beyond the selection
// change that plays it anyway:
//   - Enter, or a double click, plays the entry: one not selected is
//     selected; the selected one plays again when it is not what plays now,
//     resumes when it is paused, and brings full screen back (with the full
//     screen box ticked) when it plays;
//   - a single click on the selected entry plays it again while nothing
//     plays (after a stop, or the end of the list), and brings full screen
//     back while it plays;
//   - the first arrow key in a list with nothing selected selects the entry
//     with the keyboard's focus (the first, in a fresh list) rather than
//     passing over it.
// Every play goes through the list's selection, so the list's Click plays the
// entry as the play-list logic always does.

#include <QObject>
#include <QPointer>
#include <cstdint>

namespace sorinel::platform {
class MediaPlayer;
}

namespace sorinel::window {

class CheckBox;
class FileListBox;

class ListPlayGestures : public QObject {
    Q_OBJECT
public:
    ListPlayGestures(FileListBox& list, platform::MediaPlayer& player, CheckBox& fullScreenBox);

    void activate(int row);         // Enter, double click
    void clickOnSelected(int row);  // a single click on the entry that was selected

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool playerHolds(int row) const;
    void playAgain(int row);
    void bringBackFullScreen();
    bool onKey(QEvent* event);

    FileListBox& list_;
    platform::MediaPlayer& player_;
    CheckBox& full_;
    int pressedRow_ = -1;
    bool pressedSelected_ = false;
};

}  // namespace sorinel::window
