// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/controls/file_name_pattern.h"

#include <QStringList>

namespace sorinel::window {

FileNamePattern::FileNamePattern(const QString& patterns) : text_(patterns) {
    for (const QString& piece : patterns.split(u';', Qt::SkipEmptyParts)) {
        const QString trimmed = piece.trimmed();
        if (!trimmed.isEmpty()) folded_.push_back(trimmed.toCaseFolded());
    }
}

bool FileNamePattern::matches(const QString& fileName) const {
    if (folded_.empty()) return false;
    const QString name = fileName.toCaseFolded();
    for (const QString& pattern : folded_) {
        if (wildcardMatch(pattern, name)) return true;
    }
    return false;
}

// Iterative matcher with one backtrack point: the last "*" seen. Linear in
// practice and never recursive, so long names cannot exhaust the stack.
bool wildcardMatch(const QString& pattern, const QString& name) {
    qsizetype p = 0, n = 0;
    qsizetype starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') ++p;
    return p == pattern.size();
}

}  // namespace sorinel::window
