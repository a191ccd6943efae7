// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a file name, which the file system holds as bytes, is shown. Names are
// UTF-8 on an ordinary system; names that are not come mostly from older
// Japanese desktops, in CP932, and are shown decoded as such. Whatever is left
// shows its undecodable bytes as replacement marks. The shown text is for
// people only: the file is opened by its bytes.

#include <QByteArray>
#include <QString>

namespace sorinel::window {

QString shownFileName(const QByteArray& nativeName);

}  // namespace sorinel::window
