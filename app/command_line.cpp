#include "app/command_line.h"

#include <QFile>
#include <cstdio>

namespace sorinel::app {
namespace {

// The argument as it was given: a name need not be UTF-8, and the terminal
// shows its bytes best.
void report(const QByteArray& argument, const char* what) {
    std::fputs("sorinel: ", stderr);
    std::fwrite(argument.constData(), 1, static_cast<std::size_t>(argument.size()), stderr);
    std::fprintf(stderr, ": %s\n", what);
}

}  // namespace

std::optional<StartRequest> readCommandLine(const QList<QByteArray>& arguments) {
    if (arguments.isEmpty()) return std::nullopt;
    for (qsizetype k = 1; k < arguments.size(); ++k) report(arguments[k], "only one file or folder is opened; ignored");

    QByteArray path = arguments.first();
    // A launcher that passes a URI where it should pass a path.
    if (path.startsWith("file:"))
        if (const auto local = window::localPathOfFileUri(QString::fromUtf8(path))) path = *local;
    const window::MediaTarget target = window::resolveMediaTarget(path);
    if (target.kind == window::MediaTarget::Kind::Refused) {
        report(arguments.first(), (target.refusal + QStringLiteral("; starting without it")).toLocal8Bit().constData());
        return std::nullopt;
    }
    QByteArray absolute = QFile::encodeName(target.folder);
    if (target.kind == window::MediaTarget::Kind::File) {
        if (!absolute.endsWith('/')) absolute += '/';
        absolute += target.fileName;
    }
    return StartRequest{target, absolute};
}

}  // namespace sorinel::app
