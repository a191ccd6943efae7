// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop's own file chooser through the XDG desktop portal
// (org.freedesktop.portal.FileChooser on the session bus), which GNOME, KDE
// and most other desktops provide whatever toolkit a program is written in.
//
// openWithPortal() runs the chooser modally: the window behind it takes no
// input until the person has chosen or cancelled, and events go on being
// handled meanwhile. A session without the portal, or a portal that fails
// or does not answer within a few seconds, gives Unavailable; after that
// the portal is not asked again, so a broken one costs the wait only once.

#include <QString>
#include <QStringList>

class QWidget;

namespace sorinel::window {

struct PortalRequest {
    QWidget* parent = nullptr;  // the window the chooser belongs to
    QString title;
    QString filterName;    // one filter: its label ...
    QStringList patterns;  // ... and its glob patterns ("*" for every file)
    QString folder;        // where the chooser opens; empty: its own choice
};

enum class PortalOutcome { Chosen, Cancelled, Unavailable };

// chosenPath: the chosen file's local path, when Chosen.
PortalOutcome openWithPortal(const PortalRequest& request, QString* chosenPath);

// Forgets an earlier failure, so the next request asks the portal again.
void retryPortalNextTime();

}  // namespace sorinel::window
