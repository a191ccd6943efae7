// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The player inside a window on a real desktop (openbox on the test's Xvfb):
// video really reaches the screen, clicks on it are reported, and full
// screen covers the whole screen and can always be left again.
#include "platform/player/media_player.h"

#include "desktop.h"
#include "picture_probe.h"
#include "platform/player/transport_bar.h"
#include "platform/video/video_area.h"
#include "platform/video/video_output_choice.h"
#include "platform/video/video_window.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QScreen>
#include <QSet>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace sorinel::platform {
namespace {

using sorinel::testing::BackgroundProgram;
using sorinel::testing::brightArea;
using sorinel::testing::fittedPicture;
using sorinel::testing::makeWhiteClip;
using sorinel::testing::mediaDir;
using sorinel::testing::pumpFor;
using sorinel::testing::run;
using sorinel::testing::sameEdges;
using sorinel::testing::screenPixels;
using sorinel::testing::waitUntil;

std::unique_ptr<BackgroundProgram> windowManager;

class Desktop : public ::testing::Environment {
public:
    void SetUp() override {
        windowManager = std::make_unique<BackgroundProgram>("openbox", QStringList{});
        pumpFor(800);
    }
    void TearDown() override { windowManager.reset(); }
};
const auto* const desktop = ::testing::AddGlobalTestEnvironment(new Desktop);

struct Click {
    int button, shift;
    float x, y;
};

// A window laid out like the program's: the player on the left, something
// else on the right that full screen must cover.
class PlayerWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(windowManager && windowManager->restartIfGone()) << "openbox is needed for full screen";
        window.resize(640, 400);
        player = new MediaPlayer(&window);
        player->setPlacement(QRect(0, 0, 400, 330));
        side = new QLabel("list", &window);
        side->setGeometry(410, 0, 220, 330);
        QObject::connect(player, &MediaPlayer::click, [this](int b, int s, float x, float y) {
            clicks.push_back({b, s, x, y});
        });
        window.show();
        ASSERT_TRUE(waitUntil([&] { return window.isVisible() && window.isActiveWindow(); }, 5000));
        pumpFor(300);
    }
    void TearDown() override {
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    }

    VideoArea* video() const { return player->findChild<VideoArea*>(); }

    // The video area as it is on the screen.
    QImage videoOnScreen() const { return screenPixels(QRect(video()->mapToGlobal(QPoint(0, 0)), video()->size())); }

    // Plays a clip and waits until the first frames are drawn.
    void playClip(const QString& ext) { playFile(QDir(mediaDir()).filePath("clip" + ext)); }
    void playFile(const QString& path) {
        player->setUrl(path);
        ASSERT_TRUE(waitUntil([&] { return player->playState() == 3; }, 10000));
        pumpFor(600);
    }

    void xdotool(const QStringList& args) { run("xdotool", args); }
    QPoint onScreen(QWidget* w, QPoint p) const { return w->mapToGlobal(p); }

    QWidget window;
    MediaPlayer* player = nullptr;
    QLabel* side = nullptr;
    std::vector<Click> clicks;
};

TEST_F(PlayerWindow, ShowsTheVideoAboveItsTransportBar) {
    playClip(".mpg");
    QWidget* v = video();
    ASSERT_NE(v, nullptr);
    const QImage frame = videoOnScreen();
    ASSERT_FALSE(frame.isNull());
    // The test picture has colour bars: a black or blank area would have one
    // or two colours.
    QSet<QRgb> colours;
    for (int y = 0; y < frame.height(); y += 7)
        for (int x = 0; x < frame.width(); x += 7) colours.insert(frame.pixel(x, y) & 0xf0f0f0);
    EXPECT_GT(colours.size(), 8);

    const QRect videoRect = v->geometry();
    EXPECT_EQ(player->geometry(), QRect(0, 0, 400, 330));
    EXPECT_EQ(videoRect.width(), 400);
    const int barHeight = player->height() - videoRect.height();
    EXPECT_GE(barHeight, 24);
    EXPECT_LE(barHeight, 34);

    player->setUiMode("none");
    pumpFor(100);
    EXPECT_EQ(v->height(), 330) << "video only: it takes the whole area";
    player->setUiMode("full");
    pumpFor(100);
    EXPECT_EQ(v->height(), videoRect.height());
}

// Loading the engine takes longer than showing a window: the window goes
// up without it, and a file set before the engine's turn plays all the same,
// with the reports the advance relies on.
TEST(EngineStart, FollowsTheShownWindowAndAFileSetBeforeItPlays) {
    QWidget window;
    window.resize(400, 330);
    auto* player = new MediaPlayer(&window);
    player->setPlacement(QRect(0, 0, 400, 330));
    std::vector<int> reports;
    QObject::connect(player, &MediaPlayer::playStateChange, [&](int s) { reports.push_back(s); });
    window.show();
    auto* area = player->findChild<VideoArea*>();
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(area->videoWindow(), nullptr) << "the engine is on the path to the window shown";

    player->setUrl(QDir(mediaDir()).filePath("clip.avi"));
    EXPECT_NE(area->videoWindow(), nullptr) << "a file set first brings the engine at once";
    ASSERT_TRUE(waitUntil([&] { return player->playState() == 3; }, 10000));
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.front(), 9);
    EXPECT_EQ(reports.back(), 3);
}

// Nothing of the video window may stay on screen without a file: pictures
// laid over the idle player (the program's title) would be hidden under it.
TEST_F(PlayerWindow, TheVideoWindowShowsOnlyWhileAFileIsSet) {
    const auto videoWindowShown = [&] {
        VideoWindow* w = video()->videoWindow();
        return w && w->isVisible();
    };
    ASSERT_TRUE(waitUntil([&] { return video()->videoWindow() != nullptr; }, 5000))
        << "the engine follows the window's first drawing by itself";
    EXPECT_FALSE(videoWindowShown());
    playClip(".avi");
    EXPECT_TRUE(videoWindowShown());
    player->setUrl("");
    pumpFor(100);
    EXPECT_FALSE(videoWindowShown());
}

// A sound file after a film: the engine draws nothing more, and the film's
// last picture must not stay up; the next film shows again.
TEST_F(PlayerWindow, ASoundFileAfterAFilmLeavesTheAreaBlack) {
    const auto colours = [&] {
        const QImage shown = videoOnScreen();
        QSet<QRgb> seen;
        for (int y = 0; y < shown.height(); y += 5)
            for (int x = 0; x < shown.width(); x += 5) seen.insert(shown.pixel(x, y) & 0xf0f0f0);
        return seen.size();
    };
    for (const char* ext : {".avi", ".wav", ".mpg"}) {
        playClip(ext);
        if (QString(ext) == ".wav")
            EXPECT_EQ(colours(), 1) << "only black while the sound plays";
        else
            EXPECT_GT(colours(), 8) << ext;
    }
}

// The picture is scaled to fit and keeps its shape, in the area and at full
// screen, whichever way it is drawn. Without a forced way, a CPU renderer
// behind OpenGL means drawing in software.
class PictureShape : public PlayerWindow, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        qputenv(VideoOutputVariable, GetParam());  // read when the engine is made
        PlayerWindow::SetUp();
    }
    void TearDown() override {
        PlayerWindow::TearDown();
        qunsetenv(VideoOutputVariable);
    }
};

TEST_P(PictureShape, FitsTheAreaAndTheScreenWithBars) {
    QTemporaryDir dir;
    const QString wide = makeWhiteClip(dir.path(), 320, 180);
    playFile(wide);
    ASSERT_NE(video()->videoWindow(), nullptr);
    const VideoOutput output = video()->videoWindow()->output();
    if (const auto forced = forcedVideoOutput(GetParam())) {
        EXPECT_EQ(output, *forced);
    } else {
        QOffscreenSurface surface;
        surface.create();
        QOpenGLContext gl;
        ASSERT_TRUE(gl.create() && gl.makeCurrent(&surface));
        const std::string renderer = reinterpret_cast<const char*>(gl.functions()->glGetString(GL_RENDERER));
        gl.doneCurrent();
        if (isSoftwareRenderer(renderer)) EXPECT_EQ(output, VideoOutput::Software) << renderer;
    }

    const QRect inArea = brightArea(videoOnScreen());
    const QRect expected = fittedPicture(video()->size(), 16.0 / 9);
    EXPECT_TRUE(sameEdges(inArea, expected))
        << "picture " << inArea.x() << "," << inArea.y() << " " << inArea.width() << "x" << inArea.height() << " in "
        << video()->width() << "x" << video()->height();

    const QRect screen = window.screen()->geometry();
    player->setFullScreen(true);
    ASSERT_TRUE(waitUntil([&] { return video()->size() == screen.size(); }, 5000));
    pumpFor(500);
    const QRect onScreen = brightArea(screenPixels(screen));
    EXPECT_TRUE(sameEdges(onScreen, fittedPicture(screen.size(), 16.0 / 9)))
        << "picture " << onScreen.x() << "," << onScreen.y() << " " << onScreen.width() << "x" << onScreen.height();
    player->setFullScreen(false);
}

INSTANTIATE_TEST_SUITE_P(Outputs, PictureShape, ::testing::Values("", "software", "opengl"),
                         [](const auto& info) { return *info.param ? std::string(info.param) : "chosen"; });

TEST_F(PlayerWindow, ClicksOnTheVideoAreReportedWithButtonAndShiftState) {
    player->setEnableContextMenu(false);
    const QPoint at = onScreen(video(), QPoint(120, 80));
    xdotool({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"});
    ASSERT_TRUE(waitUntil([&] { return clicks.size() == 1; }, 3000));
    EXPECT_EQ(clicks[0].button, 1);
    EXPECT_EQ(clicks[0].shift, 0);
    EXPECT_NEAR(clicks[0].x, 120, 1.5);
    EXPECT_NEAR(clicks[0].y, 80, 1.5);

    xdotool({"keydown", "shift", "click", "1", "keyup", "shift"});
    xdotool({"keydown", "ctrl", "keydown", "alt", "click", "1", "keyup", "alt", "keyup", "ctrl"});
    xdotool({"click", "3"});  // X11 button 3 is the right button
    xdotool({"click", "2"});  // and 2 the middle one
    ASSERT_TRUE(waitUntil([&] { return clicks.size() == 5; }, 3000));
    EXPECT_EQ(clicks[1].button, 1);
    EXPECT_EQ(clicks[1].shift, 1);
    EXPECT_EQ(clicks[2].button, 1);
    EXPECT_EQ(clicks[2].shift, 2 | 4);
    EXPECT_EQ(clicks[3].button, 2);
    EXPECT_EQ(clicks[3].shift, 0);
    EXPECT_EQ(clicks[4].button, 4);
    pumpFor(200);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "context menu switched off";

    // A click on the transport bar is not a click on the video.
    const QPoint bar = onScreen(player, QPoint(200, player->height() - 3));
    xdotool({"mousemove", QString::number(bar.x()), QString::number(bar.y()), "click", "1"});
    pumpFor(400);
    EXPECT_EQ(clicks.size(), 5u);
}

TEST_F(PlayerWindow, RightClickOpensThePlayersMenuWhenEnabled) {
    const QPoint at = onScreen(video(), QPoint(50, 50));
    xdotool({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "3"});
    ASSERT_TRUE(waitUntil([&] { return QApplication::activePopupWidget() != nullptr; }, 3000));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QStringList texts;
    for (QAction* a : menu->actions())
        if (!a->isSeparator()) texts << a->text();
    EXPECT_EQ(texts, (QStringList{"再生", "停止", "全画面表示", "ミュート"}));
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].button, 2);
}

TEST_F(PlayerWindow, FullScreenCoversTheScreenAndEscapeRestoresThePlacement) {
    playClip(".avi");
    const QRect screen = window.screen()->geometry();
    player->setFullScreen(true);
    EXPECT_TRUE(player->fullScreen());
    ASSERT_TRUE(waitUntil([&] { return window.geometry() == screen; }, 5000)) << "window manager did not obey";
    pumpFor(200);
    EXPECT_EQ(QRect(player->mapToGlobal(QPoint(0, 0)), player->size()), screen);
    EXPECT_EQ(QRect(video()->mapToGlobal(QPoint(0, 0)), video()->size()), screen) << "video only, no bar";

    // The window's layout goes on placing the player; full screen keeps it.
    player->setPlacement(QRect(0, 0, 380, 300));
    pumpFor(100);
    EXPECT_EQ(player->size(), screen.size());
    EXPECT_EQ(player->placement(), QRect(0, 0, 380, 300));

    window.activateWindow();
    ASSERT_TRUE(waitUntil([&] { return window.isActiveWindow(); }, 3000));
    xdotool({"key", "Escape"});
    ASSERT_TRUE(waitUntil([&] { return !player->fullScreen(); }, 3000));
    ASSERT_TRUE(waitUntil([&] { return window.size() == QSize(640, 400); }, 5000));
    EXPECT_EQ(player->geometry(), QRect(0, 0, 380, 300));
    EXPECT_FALSE(window.isFullScreen());
    EXPECT_EQ(player->playState(), 3) << "leaving full screen does not disturb playback";
}

TEST_F(PlayerWindow, DoubleClickOnTheVideoLeavesFullScreen) {
    player->setFullScreen(true);
    ASSERT_TRUE(waitUntil([&] { return window.isFullScreen() && player->width() > 1000; }, 5000));
    pumpFor(300);
    const QPoint at = onScreen(video(), QPoint(300, 300));
    xdotool({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "--repeat", "2", "--delay", "60",
             "1"});
    ASSERT_TRUE(waitUntil([&] { return !player->fullScreen(); }, 3000));
    ASSERT_TRUE(waitUntil([&] { return !window.isFullScreen() && player->geometry() == QRect(0, 0, 400, 330); }, 5000));
}

TEST_F(PlayerWindow, FullScreenEndedByTheWindowSystemIsFollowed) {
    player->setFullScreen(true);
    ASSERT_TRUE(waitUntil([&] { return window.isFullScreen(); }, 5000));
    window.showNormal();
    ASSERT_TRUE(waitUntil([&] { return !player->fullScreen(); }, 3000));
    ASSERT_TRUE(waitUntil([&] { return player->geometry() == QRect(0, 0, 400, 330); }, 3000));
}

}  // namespace
}  // namespace sorinel::platform

namespace sorinel::platform {
namespace {

TEST_F(PlayerWindow, AWindowPutAwayIsNotBroughtBackByFullScreen) {
    window.hide();
    pumpFor(200);
    player->setFullScreen(true);
    pumpFor(300);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(player->fullScreen());

    window.showMinimized();
    ASSERT_TRUE(waitUntil([&] { return window.isMinimized(); }, 3000));
    player->setFullScreen(true);
    pumpFor(300);
    EXPECT_TRUE(window.isMinimized());
    EXPECT_FALSE(player->fullScreen());
}

TEST_F(PlayerWindow, TransportBarDrivesThePlayerAndShowsItsTimes) {
    playClip(".wmv");
    auto button = [&](const QString& tip) -> QToolButton* {
        for (QToolButton* b : player->findChildren<QToolButton*>())
            if (b->toolTip() == tip) return b;
        return nullptr;
    };
    ASSERT_NE(button("一時停止"), nullptr) << "while playing the first button pauses";
    button("一時停止")->click();
    EXPECT_EQ(player->playState(), 2);
    ASSERT_NE(button("再生"), nullptr);
    button("再生")->click();
    EXPECT_EQ(player->playState(), 3);
    button("停止")->click();
    EXPECT_EQ(player->playState(), 1);
    button("ミュート")->click();
    EXPECT_TRUE(player->mute());
    button("ミュート")->click();
    EXPECT_FALSE(player->mute());

    pumpFor(600);
    QStringList times;
    for (QLabel* l : player->findChildren<QLabel*>()) times << l->text();
    EXPECT_TRUE(times.contains("0:00 / 0:04")) << times.join(", ").toStdString();

    // A click on the seek bar jumps there.
    auto* seek = player->findChild<QSlider*>();
    ASSERT_NE(seek, nullptr);
    const QPoint at = onScreen(seek, QPoint(seek->width() * 3 / 4, seek->height() / 2));
    xdotool({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"});
    pumpFor(600);
    EXPECT_NEAR(player->currentPosition(), 3.0, 0.6);
    EXPECT_EQ(player->playState(), 1) << "seeking does not start a stopped file";
}

TEST(PlayTime, ShowsMinutesAndSecondsAndHoursOnlyWhenNeeded) {
    struct Row {
        double seconds;
        const char* text;
    } rows[] = {{0, "0:00"},       {0.99, "0:00"},    {59.9, "0:59"}, {60, "1:00"},           {3599.5, "59:59"},
                {3600, "1:00:00"}, {3661, "1:01:01"}, {-3, "0:00"},   {std::nan(""), "0:00"}, {36000, "10:00:00"}};
    for (const Row& r : rows) EXPECT_EQ(formatPlayTime(r.seconds), r.text) << r.seconds;
}

}  // namespace
}  // namespace sorinel::platform
