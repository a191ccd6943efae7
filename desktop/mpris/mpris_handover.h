// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One window takes the files opened from outside. A start holds the handover
// name from before its window is built; a start with a file that finds the
// name held hands its file to the holder's MPRIS OpenUri instead of opening
// a window. The bus gives a name to one connection only, so two starts at
// the same instant cannot both take it. The name is not the MPRIS name,
// which appears only once the player answers: a desktop's media widget
// that saw that name early would ask a player that is not yet there.

#include <QDBusConnection>
#include <QString>

namespace sorinel::desktop {

inline constexpr const char* kHandoverName = "io.github.sorinel.Sorinel.Window";

enum class HandOver {
    Claimed,   // nobody held the name: this start holds it now and opens the window
    Done,      // the holder took the URI
    Refused,   // it answered with an error
    NoPlayer,  // no bus, or the holder did not take the URI in time
};

// Takes the handover name, or (with a uri) asks its holder to open uri,
// retrying while the holder's player is not yet on the bus (its window is
// still being built) or the name has just been let go. Gives up after
// patienceMs in all: a holder that hangs must not keep a person waiting long
// for a window of their own. Without a uri, Claimed or NoPlayer.
HandOver claimNameOrHandOver(const QString& uri, int patienceMs = 5000,
                             QDBusConnection bus = QDBusConnection::sessionBus());

}  // namespace sorinel::desktop
