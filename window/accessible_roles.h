// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Roles for a screen reader where Qt would give a plain widget the role of a
// blank filler: the main window is a frame, the player a panel holding the
// video (an animation) and its transport bar (a tool bar).

namespace sorinel::window {

// Once per process; later calls do nothing.
void installAccessibleRoles();

}  // namespace sorinel::window
