// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/readable_fonts.h"

#include <QCheckBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>
#include <initializer_list>

namespace sorinel::window {
namespace {

QFont atPixelSize(const QFont& font, int pixels) {
    QFont sized = font;
    sized.setPixelSize(pixels);
    return sized;
}

// The largest size from low to high at which every control's caption fits;
// low when none does.
int largestFitting(std::initializer_list<const QAbstractButton*> controls, const QFont& font, int low, int high) {
    for (int px = high; px > low; --px) {
        const QFont candidate = atPixelSize(font, px);
        if (std::all_of(controls.begin(), controls.end(),
                        [&](const QAbstractButton* c) { return captionFits(*c, candidate); }))
            return px;
    }
    return low;
}

// Setting a font re-lays out the control: only when it changes.
void apply(QWidget* control, const QFont& font, int pixels) {
    if (control->font().pixelSize() == pixels && control->font().family() == font.family()) return;
    control->setFont(atPixelSize(font, pixels));
}

}  // namespace

bool captionFits(const QAbstractButton& control, const QFont& font) {
    QStyleOptionButton option;
    option.initFrom(&control);
    option.text = control.text();
    const bool checkBox = qobject_cast<const QCheckBox*>(&control) != nullptr;
    // Where the control draws its caption: beside the box, or inside the
    // button's frame.
    const QRect space = control.style()->subElementRect(
        checkBox ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents, &option, &control);
    // What is cut is ink: the last glyph's room beyond its ink may go. The
    // ink clears the control's top and bottom by a pixel.
    const QRect ink = QFontMetrics(font).tightBoundingRect(control.text());
    return ink.right() < space.width() && ink.height() + 2 <= control.height();
}

void fitReadableFonts(const ReadableTexts& texts, const QFont& desktop) {
    const int desktopPx = QFontInfo(desktop).pixelSize();
    // A desktop font a pixel too large for the column at the window's first
    // size (9 points come out as 13 pixels on Wayland, 12 on X11) would cut
    // the captions: they then take the largest size that fits, down to three
    // quarters of the desktop's.
    const int floorPx =
        largestFitting({texts.button, texts.fullWidth[0], texts.fullWidth[1]}, desktop, desktopPx * 3 / 4, desktopPx);
    const int fullPx =
        largestFitting({texts.button, texts.fullWidth[0], texts.fullWidth[1]}, desktop, floorPx, 2 * desktopPx);
    const int halfPx = largestFitting({texts.halfWidth[0], texts.halfWidth[1]}, desktop, fullPx,
                                      std::min(2 * desktopPx, fullPx * 5 / 4));
    apply(texts.button, desktop, fullPx);
    for (QCheckBox* box : texts.fullWidth) apply(box, desktop, fullPx);
    for (QCheckBox* box : texts.halfWidth) apply(box, desktop, halfPx);
    apply(texts.list, desktop, std::max(kListMinimumPixelSize, fullPx));
}

}  // namespace sorinel::window
