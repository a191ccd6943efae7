// The window as a person first sees it on a desktop with a window manager:
// the layout follows the outer size, title bar included, although the frame
// only exists once the window manager has framed the window after the first
// show. Checked on the screen itself, over several starts, because whether
// the first pass ran before or after the frame arrived is a race.
#include <QImage>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include "desktop.h"
#include "desktop_fixture.h"
#include "form_fixture.h"

namespace {

using sorinel::testing::FormUnderTest;
using sorinel::testing::waitUntil;

// First and last row (screen coordinates) in column x whose colour is
// exactly `colour`, searched between rows top and bottom; {-1, -1} if none.
std::pair<int, int> rowsOfColour(const QImage& shot, int x, int top, int bottom, QRgb colour) {
    std::pair<int, int> found{-1, -1};
    for (int y = std::max(0, top); y <= std::min(bottom, shot.height() - 1); ++y) {
        if ((shot.pixel(x, y) & 0xffffff) != (colour & 0xffffff)) continue;
        if (found.first < 0) found.first = y;
        found.second = y;
    }
    return found;
}

using StartLayout = sorinel::testing::WindowManagerTest;

TEST_F(StartLayout, EveryStartIsLaidOutFromTheFramedOuterSize) {
    constexpr QRgb kBarColour = qRgb(32, 32, 32);
    constexpr QRgb kStartBoxColour = qRgb(192, 192, 255);
    for (int start = 1; start <= 3; ++start) {
        SCOPED_TRACE(::testing::Message() << "start " << start);
        FormUnderTest t;
        sorinel::window::Form1& f = *t.form;
        t.start();
        ASSERT_TRUE(waitUntil([&] { return f.frameGeometry().height() > f.height(); }, 5000))
            << "the window manager never framed the window";
        sorinel::testing::pumpFor(400);  // whatever passes the frame raises

        // Where the layout puts things, in pixels from the client area's top.
        const double outerHeight = f.frameGeometry().height() * 15.0;
        const double H = outerHeight - 700;
        const int boxTop = static_cast<int>(std::lround(H / 15));
        const int boxBottom = static_cast<int>(std::lround((H + 250) / 15));
        const int playerBottom = static_cast<int>(std::lround((outerHeight - 500) / 15));
        // Each row of the chain rounds to whole pixels on its own.
        EXPECT_NEAR(f.StartTime_txt->y(), boxTop, 3);
        EXPECT_EQ(f.MediaPlayer1->placement().bottom() + 1, playerBottom);

        // And on the screen: the seconds box's pale blue and the transport
        // bar's bottom row where the formulas put them, nothing left over.
        const QImage shot = f.screen()->grabWindow(0).toImage();
        const QPoint client = f.mapToGlobal(QPoint(0, 0));
        const int clientBottom = client.y() + f.height() - 1;
        const auto box = rowsOfColour(shot, client.x() + f.StartTime_txt->geometry().center().x(), client.y(),
                                      clientBottom, kStartBoxColour);
        ASSERT_GE(box.first, 0) << "no seconds box on the screen";
        // Inside the box's band, its frame aside.
        EXPECT_GE(box.first - client.y(), boxTop - 1);
        EXPECT_LE(box.second - client.y(), boxBottom + 1);
        EXPECT_GE(box.second - box.first, (boxBottom - boxTop) / 2);
        const auto bar = rowsOfColour(shot, client.x() + 2, client.y(), clientBottom, kBarColour);
        ASSERT_GE(bar.second, 0) << "no transport bar on the screen";
        EXPECT_NEAR(bar.second + 1 - client.y(), playerBottom, 1);
    }
}

}  // namespace
