// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/list_play_gestures.h"

#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

#include "platform/player/media_player.h"
#include "playback/ports.h"
#include "window/controls/check_box.h"
#include "window/controls/file_list_box.h"

namespace sorinel::window {

namespace {
bool isPlaying(int state) {
    return state == playback::PlayState::Playing || state == playback::PlayState::Transitioning;
}
}  // namespace

ListPlayGestures::ListPlayGestures(FileListBox& list, platform::MediaPlayer& player, CheckBox& fullScreenBox)
    : QObject(&list), list_(list), player_(player), full_(fullScreenBox) {
    list_.installEventFilter(this);
    list_.viewport()->installEventFilter(this);
}

// The path the list's Click hands the player for that row.
bool ListPlayGestures::playerHolds(int row) const {
    const QByteArray entry = list_.nativeEntry(static_cast<std::int16_t>(row));
    return !entry.isEmpty() && player_.nativeUrl() == QFile::encodeName(list_.Path()) + '/' + entry;
}

// Selecting the entry that is selected is no change and raises no Click: the
// selection is taken away first (its Click finds no name and does nothing).
void ListPlayGestures::playAgain(int row) {
    const auto index = static_cast<std::int16_t>(row);
    if (list_.isSelected(index)) list_.setSelected(index, false);
    list_.setSelected(index, true);
}

void ListPlayGestures::bringBackFullScreen() {
    if (full_.Value() == 1 && !player_.fullScreen()) player_.setFullScreen(true);
}

void ListPlayGestures::activate(int row) {
    if (row < 0 || row >= list_.ListCount()) return;
    if (list_.ListIndex() != row) {
        list_.setSelected(static_cast<std::int16_t>(row), true);
        return;
    }
    const int state = player_.playState();
    if (playerHolds(row) && isPlaying(state))
        bringBackFullScreen();
    else if (playerHolds(row) && state == playback::PlayState::Paused)
        player_.playByUser();
    else
        playAgain(row);
}

void ListPlayGestures::clickOnSelected(int row) {
    if (row < 0 || row >= list_.ListCount() || list_.ListIndex() != row) return;
    const int state = player_.playState();
    if (playerHolds(row) && isPlaying(state))
        bringBackFullScreen();
    else if (!(playerHolds(row) && state == playback::PlayState::Paused))
        playAgain(row);
}

bool ListPlayGestures::onKey(QEvent* event) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        const int row = list_.currentRow() >= 0 ? list_.currentRow() : list_.ListIndex();
        activate(row);
        return true;
    }
    case Qt::Key_Up:
    case Qt::Key_Down:
        // The row with the keyboard's focus is where a person starts from:
        // with nothing selected the first arrow selects it.
        if (list_.ListIndex() >= 0 || list_.ListCount() == 0) return false;
        list_.setSelected(static_cast<std::int16_t>(std::max(0, list_.currentRow())), true);
        return true;
    default:
        return false;
    }
}

bool ListPlayGestures::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &list_) return event->type() == QEvent::KeyPress && onKey(event);
    // The type before the viewport: the viewport's events go on while the
    // list is being destroyed, when it is no longer a list to ask.
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick)
        return false;
    if (watched != list_.viewport()) return false;
    switch (type) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QListWidgetItem* item = list_.itemAt(mouse->position().toPoint());
        pressedRow_ = item && mouse->button() == Qt::LeftButton ? list_.row(item) : -1;
        pressedSelected_ = pressedRow_ >= 0 && list_.isSelected(static_cast<std::int16_t>(pressedRow_));
        break;
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QListWidgetItem* item = list_.itemAt(mouse->position().toPoint());
        const int row = pressedSelected_ && item && mouse->button() == Qt::LeftButton ? list_.row(item) : -1;
        pressedSelected_ = false;
        // After the list has handled the release itself.
        if (row >= 0 && row == pressedRow_) QTimer::singleShot(0, this, [this, row] { clickOnSelected(row); });
        break;
    }
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QListWidgetItem* item = list_.itemAt(mouse->position().toPoint());
        pressedRow_ = -1;
        pressedSelected_ = false;  // the release of a double click is not a click of its own
        if (item && mouse->button() == Qt::LeftButton) {
            const int row = list_.row(item);
            QTimer::singleShot(0, this, [this, row] { activate(row); });
        }
        break;
    }
    default:
        break;
    }
    return false;
}

}  // namespace sorinel::window
