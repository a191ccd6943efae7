// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the real window played, read from the player's own reports: every
// load (the transitioning report that a new file always gives) opens an
// episode, which records whether the file got to play and how far it went.
// A double advance shows as an episode cut short by the next load; a file
// passed over shows as an episode that never played.

#include <QFileInfo>
#include <QObject>
#include <QString>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "platform/player/media_player.h"

namespace sorinel::testing {

struct Episode {
    QString name;  // the file's bare name as the player held it
    int playingReports = 0;
    std::vector<double> playingAt;  // the position at each playing report
    double furthest = 0;            // the furthest position seen while it played
    double duration = 0;            // as the player gave it while it played
};

class PlayLog : public QObject {
public:
    explicit PlayLog(platform::MediaPlayer& player) : player_(player) {
        connect(&player_, &platform::MediaPlayer::playStateChange, this, [this](int state) {
            const QString url = player_.url();
            if (state == 9 && !url.isEmpty()) {
                episodes_.push_back({QFileInfo(url).fileName(), 0, {}, 0, 0});
            } else if (state == 3 && !episodes_.empty()) {
                ++episodes_.back().playingReports;
                episodes_.back().playingAt.push_back(player_.currentPosition());
                sample();
            }
        });
        // Positions are read often enough to see a file reach its end.
        connect(&sampler_, &QTimer::timeout, this, [this] { sample(); });
        sampler_.start(40);
    }

    const std::vector<Episode>& episodes() const { return episodes_; }

    // The episodes that got to play, in order.
    std::vector<Episode> played() const {
        std::vector<Episode> out;
        for (const auto& e : episodes_)
            if (e.playingReports > 0) out.push_back(e);
        return out;
    }
    std::size_t playedCount() const {
        return std::count_if(episodes_.begin(), episodes_.end(), [](const Episode& e) { return e.playingReports > 0; });
    }

private:
    void sample() {
        if (episodes_.empty() || player_.playState() != 3) return;
        auto& e = episodes_.back();
        if (QFileInfo(player_.url()).fileName() != e.name) return;
        e.furthest = std::max(e.furthest, player_.currentPosition());
        e.duration = std::max(e.duration, player_.duration());
    }

    platform::MediaPlayer& player_;
    QTimer sampler_;
    std::vector<Episode> episodes_;
};

}  // namespace sorinel::testing
