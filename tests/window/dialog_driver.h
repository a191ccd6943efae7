// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Drives the next modal file dialog the way a user does: once it is on
// screen, xdotool types a path into its file-name box and presses Return (or
// presses Escape to cancel).

#include <QString>

namespace sorinel::testing {

// Arms a one-shot driver; the dialog must open within a few seconds. When
// text is empty, the dialog is cancelled.
void driveNextFileDialog(const QString& text);

// Whether the last armed driver found a dialog to drive.
bool lastDialogWasDriven();

}  // namespace sorinel::testing
