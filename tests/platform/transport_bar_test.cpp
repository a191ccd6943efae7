// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The player's transport bar as a person reads it: the time never reads past
// the end of the file and is never drawn cut short, at any width of the bar.
#include "platform/player/transport_bar.h"

#include <QApplication>
#include <QFontMetrics>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <optional>

namespace sorinel::platform {
namespace {

// "h:mm:ss" or "m:ss" in seconds.
std::optional<int> secondsOf(const QString& time) {
    int total = 0;
    const QStringList parts = time.split(':');
    if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
    for (const QString& part : parts) {
        bool ok = false;
        const int value = part.toInt(&ok);
        if (!ok) return std::nullopt;
        total = total * 60 + value;
    }
    return total;
}

TEST(TransportBarTime, NeverPastTheEndAndNeverCutAtAnyWidth) {
    struct Times {
        double position, duration;
    };
    // The last frame of a clip whose length is a shade under 12 s, an hour
    // long film, a stream without a length, and the idle player.
    const Times rows[] = {{12.0, 11.96}, {11.5, 11.96}, {3725.2, 5400.0}, {4.2, 0.0}, {0.0, 0.0}};
    // Inside a window, as in the player: a window of its own would keep the
    // bar from getting narrower than its contents.
    QWidget window;
    window.resize(700, 100);
    TransportBar& bar = *new TransportBar(&window);
    window.show();
    const PlayTimeLabel& label = bar.timeLabel();
    bool sawWhole = false, sawPositionAlone = false;
    for (const Times& t : rows) {
        bar.showTimes(t.position, t.duration);
        const QString whole = label.text();
        const QStringList halves = whole.split(" / ");
        ASSERT_EQ(halves.size(), 2) << whole.toStdString();
        if (t.duration > 0) EXPECT_LE(secondsOf(halves[0]), secondsOf(halves[1])) << whole.toStdString();
        for (int width = 60; width <= 640; width += 5) {
            bar.resize(width, TransportBar::BarHeight);
            QApplication::processEvents();
            const QString shown = label.shownText();
            const auto where = ::testing::Message() << whole.toStdString() << " in a bar " << width << " wide";
            EXPECT_TRUE(shown.isEmpty() || shown == whole || shown == halves[0])
                << where << ": " << shown.toStdString();
            EXPECT_LE(label.fontMetrics().horizontalAdvance(shown), label.contentsRect().width()) << where;
            EXPECT_GE(label.x(), 0) << where;
            EXPECT_LE(label.geometry().right(), bar.width()) << where;
            sawWhole |= shown == whole && width <= 320;  // the player's width at the window's first size
            sawPositionAlone |= shown == halves[0];
        }
    }
    EXPECT_TRUE(sawWhole) << "the whole time never showed at the window's first size";
    EXPECT_TRUE(sawPositionAlone) << "a narrow bar never fell back to the position alone";
}

}  // namespace
}  // namespace sorinel::platform
