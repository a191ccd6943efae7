// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file list's name filter: one or more wildcards separated by ";", where
// "*" stands for any run of characters and "?" for exactly one. Letter case
// is ignored. Empty pieces (a trailing ";") are dropped.

#include <QString>
#include <vector>

namespace sorinel::window {

class FileNamePattern {
public:
    explicit FileNamePattern(const QString& patterns = QString());

    bool matches(const QString& fileName) const;
    const QString& text() const { return text_; }

private:
    QString text_;
    std::vector<QString> folded_;  // case-folded once, so a match folds only the name
};

// Wildcard match of an already case-folded name against a case-folded pattern.
bool wildcardMatch(const QString& foldedPattern, const QString& foldedName);

}  // namespace sorinel::window
