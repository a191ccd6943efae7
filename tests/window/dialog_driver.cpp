// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialog_driver.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QKeyEvent>
#include <QTimer>
#include <memory>

#include "desktop.h"

namespace sorinel::testing {
namespace {

bool driven = false;

void closeModalWindows() {
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->close();
        QTimer::singleShot(300, [] { closeModalWindows(); });
    }
}

bool isAscii(const QString& text) {
    for (QChar c : text)
        if (c.unicode() > 0x7e || c.unicode() < 0x20) return false;
    return true;
}

QFileDialog* openDialog() { return qobject_cast<QFileDialog*>(QApplication::activeModalWidget()); }

void drive(const QString& text, int attemptsLeft) {
    QFileDialog* dialog = openDialog();
    if (!dialog || !dialog->isVisible()) {
        if (attemptsLeft > 0) QTimer::singleShot(100, [text, attemptsLeft] { drive(text, attemptsLeft - 1); });
        return;
    }
    // Should typing go astray (a message box about a wrong name), every modal
    // window is closed rather than left waiting for a user who never comes.
    QTimer::singleShot(15000, dialog, [] { closeModalWindows(); });
    driven = true;
    // Without a window manager nobody hands out the keyboard focus: give it to
    // the dialog, whose file-name box holds the focus inside it.
    dialog->activateWindow();
    const QString id = QString::number(dialog->winId());
    run("xdotool", {"windowfocus", "--sync", id});
    if (auto* box = dialog->findChild<QLineEdit*>("fileNameEdit")) box->setFocus();
    pumpFor(100);
    if (text.isEmpty()) {
        run("xdotool", {"key", "--clearmodifiers", "Escape"});
    } else {
        if (isAscii(text)) {
            run("xdotool", {"type", "--clearmodifiers", "--delay", "5", text});
        } else if (auto* box = dialog->findChild<QLineEdit*>("fileNameEdit")) {
            // xdotool cannot type characters the server's keymap lacks: such a
            // name goes in as Qt key events, the confirming Return still
            // comes from the X server.
            for (QChar c : text) {
                QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
                QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
                QCoreApplication::sendEvent(box, &press);
                QCoreApplication::sendEvent(box, &release);
            }
        }
        pumpFor(200);
        run("xdotool", {"key", "--clearmodifiers", "Return"});
    }
}

}  // namespace

void driveNextFileDialog(const QString& text) {
    driven = false;
    QTimer::singleShot(200, [text] { drive(text, 50); });
}

bool lastDialogWasDriven() { return driven; }

}  // namespace sorinel::testing
