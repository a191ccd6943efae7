#pragma once
// A second program started with a file hands it to the one that already
// runs, through that one's MPRIS OpenUri, so opening files from a file
// manager never piles up windows.

#include <QDBusConnection>
#include <QString>

namespace sorinel::platform {

enum class HandOver {
    Done,      // the running player took the URI
    Refused,   // it answered with an error
    NoPlayer,  // no bus, no player on it, or no answer in time
};

// Asks the player that owns the MPRIS name to open uri. Each of the two calls
// (is the name owned, open) waits at most timeoutMs: a player that hangs must
// not keep a person waiting for a window.
HandOver handOverToRunningPlayer(const QString& uri, int timeoutMs = 1000,
                                 QDBusConnection bus = QDBusConnection::sessionBus());

}  // namespace sorinel::platform
