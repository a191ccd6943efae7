// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line: at most one file or folder to open, as a file manager
// passes it ("sorinel %f"). Whatever cannot be opened is reported on
// standard error in one line each, and the program starts as without it.
// --help and --version answer and end the program; any other option that Qt
// does not take (-platform, -display ...) ends it with status 2.

#include <QByteArray>
#include <QList>
#include <optional>

#include "window/media_target.h"

namespace sorinel::app {

struct StartRequest {
    window::MediaTarget target;
    QByteArray absolutePath;  // of the file or folder, for handing it over
};

// --help or --version anywhere on the command line: prints the usage or the
// version on standard output and gives the exit status, 0. Called before the
// application object exists, so that neither needs a display.
std::optional<int> answerHelpOrVersion(int argc, const char* const* argv);

// arguments as below: an option left over is reported in one line on
// standard error, with the exit status to end with, 2.
std::optional<int> refuseUnknownOptions(const QList<QByteArray>& arguments);

// arguments: the program's arguments after Qt has taken its own, without the
// program name. A "--" ends the options: what follows is a name even where it
// starts with '-'.
std::optional<StartRequest> readCommandLine(const QList<QByteArray>& arguments);

}  // namespace sorinel::app
