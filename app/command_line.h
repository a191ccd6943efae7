#pragma once
// The command line: at most one file or folder to open, as a file manager
// passes it ("sorinel %f"). Whatever cannot be opened is reported on
// standard error in one line each, and the program starts as without it.

#include <QByteArray>
#include <QList>
#include <optional>

#include "window/media_target.h"

namespace sorinel::app {

struct StartRequest {
    window::MediaTarget target;
    QByteArray absolutePath;  // of the file or folder, for handing it over
};

// arguments: the program's arguments after Qt has taken its own, without the
// program name.
std::optional<StartRequest> readCommandLine(const QList<QByteArray>& arguments);

}  // namespace sorinel::app
