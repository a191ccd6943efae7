// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// How long the file list takes to show a folder of 30,000 files (of which
// 20,000 match): the bare listing, and the list box with its rows.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "window/controls/file_list_box.h"
#include "window/controls/folder_listing.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QByteArray base = QFile::encodeName(dir.path());
    const char* extensions[] = {".mp3", ".AVI", ".txt"};
    for (int k = 0; k < 30000; ++k) {
        const QByteArray name = base + "/File " + QByteArray::number((k * 7919) % 30000) + extensions[k % 3];
        const int fd = ::open(name.constData(), O_CREAT | O_WRONLY, 0644);
        if (fd >= 0) ::close(fd);
    }
    const sorinel::window::FileNamePattern pattern(QStringLiteral(
        "*.mpeg;*.wma;*.wmv;*.avi;*.mov;*.mpg;*.mp3;*.mp2;*.m2p;*.wav;*.asf;*.midi;*.aiff;*.au;*.dvr-ms;"));

    QElapsedTimer timer;
    timer.start();
    const auto names = sorinel::window::listMatchingFiles(dir.path(), pattern, 32767);
    const qint64 listing = timer.elapsed();

    sorinel::window::FileListBox list;
    list.setPattern(pattern.text());
    timer.restart();
    list.setPath(dir.path());
    const qint64 listBox = timer.elapsed();

    std::printf("listing: %lld ms for %lld names\nlist box: %lld ms for %d rows\n", static_cast<long long>(listing),
                static_cast<long long>(names ? names->size() : -1), static_cast<long long>(listBox), list.ListCount());
    return 0;
}
