// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Playing means a moving position: a file that sits on one frame while
// reported playing (state 3) has stalled as surely as a stopped one.

#include <QElapsedTimer>
#include <QString>

#include <optional>

namespace sorinel::testing {

class FrozenPictureWatch {
public:
    // Longer than any hold-up of a file that plays on: the engine's first
    // sound output on an idle PulseAudio null sink holds a file about 2 s.
    static constexpr qint64 kFrozenMs = 3000;

    // Called every so often with what the player reports. Once per
    // standstill, when `url` has stood at `position` for longer than
    // kFrozenMs while reported playing: how long it has stood.
    std::optional<qint64> look(bool playing, double position, const QString& url) {
        if (!playing || position != at_ || url != in_ || !since_.isValid()) {
            at_ = position;
            in_ = url;
            since_.start();
            told_ = false;
            return std::nullopt;
        }
        if (told_ || since_.elapsed() <= kFrozenMs) return std::nullopt;
        told_ = true;
        return since_.elapsed();
    }

private:
    double at_ = -1;
    QString in_;
    QElapsedTimer since_;
    bool told_ = false;
};

}  // namespace sorinel::testing
