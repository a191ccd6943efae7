// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Space pauses and resumes wherever the keyboard is in the main window, as
// in any media player, except where Space already does something of its own:
// it types in a text box, and presses the focused button or check box (the
// only key that ticks a box from the keyboard). Watches the whole
// application, since the keyboard may be with the video's own window.

#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

namespace sorinel::window {

class PlayPauseKey : public QObject {
    Q_OBJECT
public:
    // toggle runs once per press (a held key repeats nothing).
    PlayPauseKey(QWidget& window, std::function<void()> toggle);
    ~PlayPauseKey() override;

    // Whether Space, typed to receiver, is the play/pause key.
    bool pausesFrom(const QObject* receiver) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> window_;
    std::function<void()> toggle_;
};

}  // namespace sorinel::window
