// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The open-file dialog CommonDialog1. Its filter takes the "description|
// pattern|description|pattern..." form, patterns separated by ";"; showOpen()
// runs the dialog modally and tells whether a file was chosen (cancel is a
// failure). It is the desktop's own chooser where there is one: the XDG
// desktop portal's, else the platform theme's native dialog; elsewhere Qt's
// own, which speaks the language of Qt's loaded translations (the program
// loads Japanese ones).

#include <QString>
#include <QStringList>

#include "window/controls/portal_file_chooser.h"

class QWidget;

namespace sorinel::window {

class OpenFileDialog {
public:
    explicit OpenFileDialog(QWidget* parent);

    QString Filter() const { return filter_; }
    void setFilter(const QString& filter);
    QString DialogTitle() const { return title_; }
    void setDialogTitle(const QString& title) { title_ = title; }
    // The folder the dialog opens in; empty means the working directory.
    void setInitDir(const QString& folder) { initDir_ = folder; }

    bool showOpen();
    QString FileName() const { return fileName_; }    // full path of the chosen file
    QString FileTitle() const { return fileTitle_; }  // its name without the folder

private:
    bool accept(const QString& path);

    QWidget* parent_;
    QString filter_;
    QString title_;
    QString initDir_;
    QString fileName_;
    QString fileTitle_;
};

// "メディアファイル|*.*" -> {"メディアファイル (*)"}. "*.*" means every file, as
// on the desktop the filter was written for.
QStringList nameFiltersFrom(const QString& filter);

// The same filter for the portal: its first label and patterns.
PortalRequest portalRequestFrom(const QString& filter);

}  // namespace sorinel::window
