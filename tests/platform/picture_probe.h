// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The shape of the picture on the screen: a plain white clip is played, and
// the bright rectangle it leaves on the screen is measured.

#include "desktop.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>

namespace sorinel::testing {

// A white clip of the given size, made with ffmpeg in dir.
inline QString makeWhiteClip(const QString& dir, int width, int height) {
    const QString path = QDir(dir).filePath(QStringLiteral("white-%1x%2.avi").arg(width).arg(height));
    run("ffmpeg",
        {"-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
         QStringLiteral("color=c=white:size=%1x%2:rate=25:duration=6").arg(width).arg(height), "-c:v", "mpeg4", "-q:v",
         "2", path},
        30000);
    return path;
}

// The screen's pixels in rect (global coordinates), native windows included.
inline QImage screenPixels(const QRect& rect) {
    return QGuiApplication::primaryScreen()->grabWindow(0, rect.x(), rect.y(), rect.width(), rect.height()).toImage();
}

// The bounding box of the near-white pixels of image.
inline QRect brightArea(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 200 && c.green() > 200 && c.blue() > 200) box |= QRect(x, y, 1, 1);
        }
    return box;
}

}  // namespace sorinel::testing

namespace sorinel::testing {

// Where a picture of the given width-to-height ratio belongs in an area when
// it is scaled to fit and keeps its shape: centred, bars on two sides.
inline QRect fittedPicture(const QSize& area, double aspect) {
    if (area.width() > area.height() * aspect) {
        const int w = qRound(area.height() * aspect);
        return QRect((area.width() - w) / 2, 0, w, area.height());
    }
    const int h = qRound(area.width() / aspect);
    return QRect(0, (area.height() - h) / 2, area.width(), h);
}

// Edges within `slack` pixels (scaling rounds, and filters blur the edge).
inline bool sameEdges(const QRect& a, const QRect& b, int slack = 3) {
    return std::abs(a.left() - b.left()) <= slack && std::abs(a.top() - b.top()) <= slack &&
           std::abs(a.right() - b.right()) <= slack && std::abs(a.bottom() - b.bottom()) <= slack;
}

}  // namespace sorinel::testing
