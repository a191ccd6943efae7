// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/controls/image_box.h"

#include <QPixmap>

namespace sorinel::window {

ImageBox::ImageBox(QWidget* parent) : QLabel(parent) {
    setScaledContents(true);
    setFocusPolicy(Qt::NoFocus);
}

void ImageBox::setPictureFile(const QString& path) {
    const QPixmap pixmap(path);
    picture_ = pixmap.isNull() ? QIcon() : QIcon(path);
    setPixmap(pixmap);
}

}  // namespace sorinel::window
