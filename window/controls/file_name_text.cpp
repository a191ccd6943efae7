// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/controls/file_name_text.h"

#include <QFile>
#include <QStringDecoder>
#include <iconv.h>
#include <optional>
#include <string>

namespace sorinel::window {
namespace {

// The whole name in CP932, or nothing if any byte sequence is not CP932.
std::optional<QString> strictlyFromCp932(const QByteArray& bytes) {
    const iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out(static_cast<std::size_t>(bytes.size()) * 3 + 4, '\0');
    char* in = const_cast<char*>(bytes.constData());
    std::size_t inLeft = static_cast<std::size_t>(bytes.size());
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
    out.resize(out.size() - outLeft);
    return QString::fromStdString(out);
}

}  // namespace

QString shownFileName(const QByteArray& nativeName) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(nativeName);
    if (!utf8.hasError()) return text;
    if (const auto cp932 = strictlyFromCp932(nativeName)) return *cp932;
    return QFile::decodeName(nativeName);
}

}  // namespace sorinel::window
