// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's typed interface against the real engine, with no window to
// draw into: what the player relies on when it loads, pauses, seeks and
// lets a file run to its end, whatever engine stands behind the interface.
#include "platform/engine/engine.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <functional>
#include <vector>

namespace sorinel::platform {
namespace {

bool waitUntil(const std::function<bool()>& done, int ms = 10000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

QByteArray clip(const char* ext) { return QDir(SORINEL_TEST_MEDIA_DIR).filePath(QString("clip") + ext).toUtf8(); }

// Everything the engine said, in order.
struct Reports {
    explicit Reports(Engine& engine) {
        QObject::connect(&engine, &Engine::fileStarted, [this](long long id) { started.push_back(id); });
        QObject::connect(&engine, &Engine::fileEnded, [this](long long id) { ended.push_back(id); });
        QObject::connect(&engine, &Engine::fileLoaded, [this] { ++loaded; });
        QObject::connect(&engine, &Engine::playbackRestarted, [this] { ++restarts; });
        QObject::connect(&engine, &Engine::endReached, [this] { ++ends; });
        QObject::connect(&engine, &Engine::positionChanged, [this](double s) { position = s; });
    }
    std::vector<long long> started, ended;
    int loaded = 0, restarts = 0, ends = 0;
    double position = 0;
};

class EngineContract : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "engine_contract_test";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
    }
};

TEST_F(EngineContract, LoadPauseSeekAndEnd) {
    Engine engine;
    ASSERT_TRUE(engine.valid());
    Reports said(engine);

    // Paused on its first frame, readable, and reported under its own id.
    const long long first = engine.load(clip(".wav"), false);
    ASSERT_GT(first, 0);
    ASSERT_TRUE(waitUntil([&] { return said.restarts > 0; }));
    EXPECT_EQ(said.started, std::vector<long long>{first});
    EXPECT_EQ(said.loaded, 1);
    EXPECT_TRUE(engine.paused());
    const double length = engine.duration().value_or(0);
    EXPECT_GT(length, 1.0);
    EXPECT_LT(engine.position().value_or(-1), 0.5);

    engine.setPaused(false);
    ASSERT_TRUE(waitUntil([&] { return said.position > 0.3; }));

    // Run into the end: reported once, and the file stays, paused there.
    ASSERT_TRUE(engine.seek(length - 0.3));
    ASSERT_TRUE(waitUntil([&] { return said.ends > 0; }));
    EXPECT_TRUE(waitUntil([&] { return engine.paused(); }, 2000));
    EXPECT_EQ(said.ends, 1);
    EXPECT_NEAR(engine.duration().value_or(0), length, 0.1);
    EXPECT_TRUE(said.ended.empty());

    // A file replacing it ends the old entry and plays under a newer id,
    // from the first load after an end.
    const long long second = engine.load(clip(".mp3"), true);
    ASSERT_GT(second, first);
    ASSERT_TRUE(waitUntil([&] { return said.position > 0.3 && said.started.back() == second; }));
    EXPECT_EQ(said.ended, std::vector<long long>{first});
    EXPECT_FALSE(engine.paused());
    EXPECT_FALSE(engine.showsVideo());

    engine.unload();
    ASSERT_TRUE(waitUntil([&] { return said.ended.size() == 2; }));
    EXPECT_EQ(said.ended.back(), second);
}

// A file held open as a descriptor plays as a named one does, and the
// engine owns the descriptor: it is closed once the engine lets go.
TEST_F(EngineContract, DescriptorIsTheEnginesToClose) {
    Engine engine;
    Reports said(engine);
    const int fd = ::open(clip(".wav").constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_GT(engine.loadDescriptor(fd, true), 0);
    ASSERT_TRUE(waitUntil([&] { return said.position > 0.3; }));
    engine.unload();
    ASSERT_TRUE(waitUntil([&] { return !said.ended.empty(); }));
    EXPECT_TRUE(waitUntil([&] { return ::fcntl(fd, F_GETFD) < 0; }, 3000)) << "descriptor still open";
}

TEST_F(EngineContract, FoldersAreNeverHandedOver) {
    EXPECT_TRUE(Engine::opensAsPlayList(QByteArray(SORINEL_TEST_MEDIA_DIR)));
    EXPECT_FALSE(Engine::opensAsPlayList(clip(".wav")));
    EXPECT_FALSE(Engine::opensAsPlayList("/nonexistent/folder/"));
}

}  // namespace
}  // namespace sorinel::platform
