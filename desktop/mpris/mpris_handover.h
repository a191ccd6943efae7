#pragma once
// A start with a file either becomes the player or hands its file to the one
// that is. The MPRIS name decides: the bus gives it to one connection only,
// so two starts at the same instant cannot both take it, and the one that
// loses hands over to the one that won, whose window may still be coming up.

#include <QDBusConnection>
#include <QString>

namespace sorinel::platform {

enum class HandOver {
    Claimed,   // no player had the name: this start has it now and opens the window
    Done,      // the running player took the URI
    Refused,   // it answered with an error
    NoPlayer,  // no bus, or the name's owner did not take the URI in time
};

// Takes the MPRIS name, or asks its owner to open uri, retrying while the
// owner has the name but not yet its player (it is building its window) or
// has just let the name go. Gives up after patienceMs in all: an owner that
// hangs must not keep a person waiting long for a window of their own.
HandOver claimNameOrHandOver(const QString& uri, int patienceMs = 5000,
                             QDBusConnection bus = QDBusConnection::sessionBus());

}  // namespace sorinel::platform
