// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The window as a person first sees it on a desktop with a window manager:
// the layout follows the outer size, title bar included, although the frame
// only exists once the window manager has framed the window after the first
// show. The program itself is started, as a person starts it, and checked on
// the screen over several starts: whether a layout pass ran before or after
// the frame arrived, or nested in another, is a race.
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>

#include "desktop.h"
#include "desktop_fixture.h"

namespace {

using sorinel::testing::run;
using sorinel::testing::waitUntil;

// First and last row in column x whose colour is exactly `colour`, searched
// between rows top and bottom; {-1, -1} if none.
std::pair<int, int> rowsOfColour(const QImage& shot, int x, int top, int bottom, QRgb colour) {
    std::pair<int, int> found{-1, -1};
    for (int y = std::max(0, top); y <= std::min(bottom, shot.height() - 1); ++y) {
        if ((shot.pixel(x, y) & 0xffffff) != (colour & 0xffffff)) continue;
        if (found.first < 0) found.first = y;
        found.second = y;
    }
    return found;
}

struct ClientArea {
    int x = 0, y = 0, width = 0, height = 0;
    int frameWidth = 0;   // borders, left and right together
    int frameHeight = 0;  // title bar and borders, top and bottom together
};

// The program's main window as the X server and the window manager see it.
std::optional<ClientArea> framedWindowOf(qint64 pid) {
    const QStringList ids =
        run("xdotool", {"search", "--onlyvisible", "--pid", QString::number(pid), "--name", "Sorinel"})
            .split('\n', Qt::SkipEmptyParts);
    if (ids.isEmpty()) return std::nullopt;
    const QString info = run("xwininfo", {"-id", ids.first()});
    auto field = [&](const char* name) {
        const auto m = QRegularExpression(QString("%1:\\s*(-?\\d+)").arg(name)).match(info);
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    };
    const QStringList extents =
        run("xprop", {"-id", ids.first(), "_NET_FRAME_EXTENTS"}).section('=', 1).split(',', Qt::SkipEmptyParts);
    if (extents.size() != 4) return std::nullopt;  // not framed yet
    ClientArea area{field("Absolute upper-left X"),
                    field("Absolute upper-left Y"),
                    field("Width"),
                    field("Height"),
                    extents[0].trimmed().toInt() + extents[1].trimmed().toInt(),
                    extents[2].trimmed().toInt() + extents[3].trimmed().toInt()};
    if (area.frameHeight <= 0) return std::nullopt;
    return area;
}

// A desktop as a person has it: a window manager and a tray, whose icon the
// program adds while its window is first shown.
class StartLayout : public sorinel::testing::WindowManagerTest {
protected:
    static void SetUpTestSuite() {
        WindowManagerTest::SetUpTestSuite();
        tray = std::make_unique<sorinel::testing::BackgroundProgram>(
            "trayer", QStringList{"--edge", "top", "--align", "right", "--widthtype", "pixel", "--width", "60",
                                  "--heighttype", "pixel", "--height", "24"});
        sorinel::testing::pumpFor(800);
    }
    static void TearDownTestSuite() { tray.reset(); }

    static inline std::unique_ptr<sorinel::testing::BackgroundProgram> tray;
};

TEST_F(StartLayout, EveryStartIsLaidOutFromTheFramedOuterSize) {
    constexpr QRgb kBarColour = qRgb(32, 32, 32);
    constexpr QRgb kStartBoxColour = qRgb(192, 192, 255);
    QTemporaryDir shots;
    for (int start = 1; start <= 3; ++start) {
        SCOPED_TRACE(::testing::Message() << "start " << start);
        QProcess program;
        program.setWorkingDirectory(sorinel::testing::mediaDir());
        program.start(QStringLiteral(SORINEL_PROGRAM), {});
        ASSERT_TRUE(program.waitForStarted(5000));
        std::optional<ClientArea> area;
        ASSERT_TRUE(waitUntil([&] { return (area = framedWindowOf(program.processId())).has_value(); }, 15000))
            << "the window manager never framed the window";
        sorinel::testing::pumpFor(1500);  // what a person sees once the window has settled
        area = framedWindowOf(program.processId());
        ASSERT_TRUE(area.has_value());
        const QString path = shots.filePath(QString("start-%1.png").arg(start));
        ASSERT_TRUE(sorinel::testing::screenshot(path));
        const QImage shot(path);
        program.kill();
        program.waitForFinished(5000);

        // Where the layout puts things, in pixels from the client area's top.
        const double outerHeight = (area->height + area->frameHeight) * 15.0;
        const double H = outerHeight - 700;
        const double W = (area->width + area->frameWidth) * 15.0 - 100;
        const int boxTop = static_cast<int>(std::lround(H / 15));
        const int boxBottom = static_cast<int>(std::lround((H + 250) / 15));
        const int playerBottom = static_cast<int>(std::lround((outerHeight - 500) / 15));
        const int clientBottom = area->y + area->height - 1;

        // The seconds box's pale blue and the transport bar's bottom row where
        // the formulas put them, nothing left over beneath.
        const int startBoxX = area->x + static_cast<int>(std::lround((W / 4 * 3 + 10 + W / 16) / 15));
        const auto box = rowsOfColour(shot, startBoxX, area->y, clientBottom, kStartBoxColour);
        ASSERT_GE(box.first, 0) << "no seconds box on the screen: " << path.toStdString();
        EXPECT_GE(box.first - area->y, boxTop - 1) << path.toStdString();
        EXPECT_LE(box.second - area->y, boxBottom + 1) << path.toStdString();
        const auto bar = rowsOfColour(shot, area->x + 2, area->y, clientBottom, kBarColour);
        ASSERT_GE(bar.second, 0) << "no transport bar on the screen: " << path.toStdString();
        EXPECT_NEAR(bar.second + 1 - area->y, playerBottom, 1) << path.toStdString();
        if (HasFailure()) shots.setAutoRemove(false);
    }
}

}  // namespace
