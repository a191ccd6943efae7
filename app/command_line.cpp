// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include <QFile>
#include <cstdio>
#include <cstring>

namespace sorinel::app {
namespace {

// The argument as it was given: a name need not be UTF-8, and the terminal
// shows its bytes best.
void report(const QByteArray& argument, const char* what) {
    std::fputs("sorinel: ", stderr);
    std::fwrite(argument.constData(), 1, static_cast<std::size_t>(argument.size()), stderr);
    std::fprintf(stderr, ": %s\n", what);
}

constexpr const char* kUsage =
    "Usage: sorinel [OPTION] [FILE | FOLDER]\n"
    "Plays the media files of one folder one after another.\n"
    "\n"
    "  FILE           show FILE's folder and play FILE; the folder goes on from it\n"
    "  FOLDER         show FOLDER's media files\n"
    "                 (neither: the folder sorinel was started in)\n"
    "\n"
    "  -h, --help     print this help and exit\n"
    "      --version  print the version and exit\n"
    "      --         end the options: a name that starts with '-' follows\n"
    "\n"
    "Qt's own options (-platform, -display ...) are taken as well. See sorinel(1).\n";

bool isOption(const QByteArray& argument) { return argument.size() > 1 && argument.startsWith('-'); }

}  // namespace

std::optional<int> answerHelpOrVersion(int argc, const char* const* argv) {
    bool version = false;
    for (int k = 1; k < argc && std::strcmp(argv[k], "--") != 0; ++k) {
        if (std::strcmp(argv[k], "--help") == 0 || std::strcmp(argv[k], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        version = version || std::strcmp(argv[k], "--version") == 0;
    }
    if (!version) return std::nullopt;
    std::puts("sorinel " SORINEL_VERSION);
    return 0;
}

std::optional<int> refuseUnknownOptions(const QList<QByteArray>& arguments) {
    for (const QByteArray& argument : arguments) {
        if (argument == "--") break;
        if (!isOption(argument)) continue;
        report(argument, "unknown option (sorinel --help lists them)");
        return 2;
    }
    return std::nullopt;
}

std::optional<StartRequest> readCommandLine(const QList<QByteArray>& argumentsAndSeparator) {
    QList<QByteArray> arguments = argumentsAndSeparator;
    arguments.removeOne("--");
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
