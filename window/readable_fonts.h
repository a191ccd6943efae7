// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fonts for the texts that the window's definition gives no font of their
// own: the file list, the folder button and the four check boxes take the
// desktop's font, at a size that follows their controls, which the layout
// pass makes larger with the window.
//
// - The captions take the largest size, from the desktop's own up to twice
//   that, at which every caption of their kind fits its control uncut; below
//   the desktop's own only where that would cut them, down to three quarters
//   of it.
// - Half-width katakana ("ﾙｰﾌﾟ", "ﾗﾝﾀﾞﾑ") are drawn half as wide and lighter
//   than the rest and read smaller at the same size: their two boxes get up
//   to a quarter more, never less than the other captions.
// - The list is never smaller than kListMinimumPixelSize, at which a
//   Japanese desktop's gothic still draws the three stems of an "m" apart,
//   and grows with the captions.
// Sizes are in device-independent pixels, so a scale factor scales them all.

#include <QFont>

class QAbstractButton;
class QCheckBox;
class QListWidget;
class QPushButton;

namespace sorinel::window {

inline constexpr int kListMinimumPixelSize = 14;

struct ReadableTexts {
    QListWidget* list;
    QPushButton* button;
    // Captions in full-width characters, and in half-width ones.
    QCheckBox* fullWidth[2];
    QCheckBox* halfWidth[2];
};

// Sets the fonts from the controls' current sizes.
void fitReadableFonts(const ReadableTexts& texts, const QFont& desktop);

// Whether control's caption, drawn in font, fits the space the control draws
// it in, in width and height.
bool captionFits(const QAbstractButton& control, const QFont& font);

}  // namespace sorinel::window
