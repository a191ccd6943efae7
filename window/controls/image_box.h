// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An image control: shows its picture stretched to the control's size (the
// title picture) or keeps it unseen as a holder (the icon for the tray).

#include <QIcon>
#include <QLabel>

namespace sorinel::window {

class ImageBox : public QLabel {
    Q_OBJECT
public:
    explicit ImageBox(QWidget* parent = nullptr);

    // Loads the picture from a file or resource path; an unreadable picture
    // leaves the control empty.
    void setPictureFile(const QString& path);
    const QIcon& picture() const { return picture_; }

private:
    QIcon picture_;
};

}  // namespace sorinel::window
