#pragma once
// The open-file dialog CommonDialog1. Its filter takes the "description|
// pattern|description|pattern..." form, patterns separated by ";"; showOpen()
// runs the dialog modally and tells whether a file was chosen (cancel is a
// failure). The dialog is Qt's own, not the desktop's, so it looks the same
// everywhere and can be driven by a test.

#include <QString>
#include <QStringList>

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

}  // namespace sorinel::window
