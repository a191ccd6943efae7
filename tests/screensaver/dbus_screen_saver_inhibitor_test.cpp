// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The freedesktop backend against a stand-in service on the test's own
// session bus: what travels over the bus, in which order, with which cookie.
#include "desktop/screensaver/dbus_screen_saver_inhibitor.h"

#include "fake_screen_saver_service.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace sorinel::desktop {
namespace {

using sorinel::testing::FakeScreenSaverService;

bool waitUntil(const std::function<bool()>& pred, int timeoutMs = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!pred() && clock.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return pred();
}

// Long enough for a call and its answer to cross the bus several times.
void settle() {
    waitUntil([] { return false; }, 300);
}

// Counts warnings and worse while it lives: a missing service must not
// leave a trace in the user's log.
class WarningCounter {
public:
    WarningCounter() {
        count_ = 0;
        previous_ = qInstallMessageHandler(&WarningCounter::handle);
    }
    ~WarningCounter() { qInstallMessageHandler(previous_); }
    int count() const { return count_; }

private:
    static void handle(QtMsgType type, const QMessageLogContext&, const QString&) {
        if (type != QtDebugMsg && type != QtInfoMsg) ++count_;
    }
    static inline int count_ = 0;
    QtMessageHandler previous_;
};

TEST(DBusScreenSaverInhibitor, HoldsOnceAndReleasesWithTheSameCookie) {
    FakeScreenSaverService service;
    ASSERT_TRUE(service.registered());
    DBusScreenSaverInhibitor inhibitor("Sorinel");

    inhibitor.inhibit("動画を再生中");
    inhibitor.inhibit("動画を再生中");
    ASSERT_TRUE(waitUntil([&] { return inhibitor.cookie().has_value(); }));
    inhibitor.inhibit("動画を再生中");
    settle();
    ASSERT_EQ(service.calls().size(), 1u);
    // A copy: the list of calls grows below.
    const auto held = service.calls()[0];
    EXPECT_EQ(held.method, "Inhibit");
    EXPECT_EQ(held.path, "/org/freedesktop/ScreenSaver");
    EXPECT_EQ(held.appName, "Sorinel");
    EXPECT_EQ(held.reason, "動画を再生中");
    EXPECT_EQ(*inhibitor.cookie(), held.cookie);

    inhibitor.uninhibit();
    inhibitor.uninhibit();
    ASSERT_TRUE(waitUntil([&] { return service.calls().size() >= 2; }));
    settle();
    ASSERT_EQ(service.calls().size(), 2u);
    EXPECT_EQ(service.calls()[1].method, "UnInhibit");
    EXPECT_EQ(service.calls()[1].cookie, held.cookie);
    EXPECT_EQ(service.activeHolds(), 0);
    EXPECT_FALSE(inhibitor.cookie());
}

TEST(DBusScreenSaverInhibitor, HoldsAgainAfterARelease) {
    FakeScreenSaverService service;
    ASSERT_TRUE(service.registered());
    DBusScreenSaverInhibitor inhibitor("Sorinel");
    for (int round = 0; round < 3; ++round) {
        inhibitor.inhibit("r");
        ASSERT_TRUE(waitUntil([&] { return service.activeHolds() == 1; })) << "round " << round;
        inhibitor.uninhibit();
        ASSERT_TRUE(waitUntil([&] { return service.activeHolds() == 0; })) << "round " << round;
    }
    EXPECT_EQ(service.count("Inhibit"), 3);
    EXPECT_EQ(service.count("UnInhibit"), 3);
}

// The release comes before the service has answered: the cookie that
// arrives afterwards must be given back, not kept.
TEST(DBusScreenSaverInhibitor, ReleaseBeforeTheAnswerGivesTheCookieBack) {
    FakeScreenSaverService service;
    ASSERT_TRUE(service.registered());
    DBusScreenSaverInhibitor inhibitor("Sorinel");
    inhibitor.inhibit("r");
    inhibitor.uninhibit();
    ASSERT_TRUE(waitUntil([&] { return service.count("UnInhibit") == 1; }));
    settle();
    EXPECT_EQ(service.count("Inhibit"), 1);
    EXPECT_EQ(service.activeHolds(), 0);
    EXPECT_FALSE(inhibitor.cookie());
}

// Released and held again while the first answer is still on its way: one
// Inhibit serves the second hold.
TEST(DBusScreenSaverInhibitor, HoldAgainBeforeTheAnswerKeepsOneHold) {
    FakeScreenSaverService service;
    ASSERT_TRUE(service.registered());
    DBusScreenSaverInhibitor inhibitor("Sorinel");
    inhibitor.inhibit("r");
    inhibitor.uninhibit();
    inhibitor.inhibit("r");
    ASSERT_TRUE(waitUntil([&] { return inhibitor.cookie().has_value(); }));
    settle();
    EXPECT_EQ(service.count("Inhibit"), 1);
    EXPECT_EQ(service.activeHolds(), 1);
    inhibitor.uninhibit();
    ASSERT_TRUE(waitUntil([&] { return service.activeHolds() == 0; }));
}

TEST(DBusScreenSaverInhibitor, FallsBackToTheOlderPath) {
    FakeScreenSaverService service({"/ScreenSaver"});
    ASSERT_TRUE(service.registered());
    DBusScreenSaverInhibitor inhibitor("Sorinel");
    inhibitor.inhibit("r");
    ASSERT_TRUE(waitUntil([&] { return inhibitor.cookie().has_value(); }));
    inhibitor.uninhibit();
    ASSERT_TRUE(waitUntil([&] { return service.count("UnInhibit") == 1; }));
    ASSERT_EQ(service.calls().size(), 2u);
    EXPECT_EQ(service.calls()[0].path, "/ScreenSaver");
    EXPECT_EQ(service.calls()[1].path, "/ScreenSaver");
    EXPECT_EQ(service.activeHolds(), 0);
}

TEST(DBusScreenSaverInhibitor, DestroyedWhileHoldingGivesTheHoldBack) {
    FakeScreenSaverService service;
    ASSERT_TRUE(service.registered());
    {
        DBusScreenSaverInhibitor inhibitor("Sorinel");
        inhibitor.inhibit("r");
        ASSERT_TRUE(waitUntil([&] { return inhibitor.cookie().has_value(); }));
    }
    ASSERT_TRUE(waitUntil([&] { return service.count("UnInhibit") == 1; }));
    EXPECT_EQ(service.activeHolds(), 0);
}

TEST(DBusScreenSaverInhibitor, DestroyedBeforeTheAnswerGivesTheCookieBack) {
    FakeScreenSaverService service;
    ASSERT_TRUE(service.registered());
    {
        DBusScreenSaverInhibitor inhibitor("Sorinel");
        inhibitor.inhibit("r");
    }
    ASSERT_TRUE(waitUntil([&] { return service.count("UnInhibit") == 1; }));
    settle();
    EXPECT_EQ(service.count("Inhibit"), 1);
    EXPECT_EQ(service.activeHolds(), 0);
}

// Rows of desktops where holding is impossible: nothing breaks, nothing is
// logged, and a later hold still works once a service is there.
TEST(DBusScreenSaverInhibitor, NoServiceOnTheBusIsHarmless) {
    WarningCounter warnings;
    DBusScreenSaverInhibitor inhibitor("Sorinel");
    inhibitor.inhibit("r");
    settle();
    EXPECT_TRUE(inhibitor.inhibited());
    EXPECT_FALSE(inhibitor.cookie());
    inhibitor.uninhibit();
    settle();
    EXPECT_EQ(warnings.count(), 0);

    FakeScreenSaverService service;
    ASSERT_TRUE(service.registered());
    inhibitor.inhibit("r");
    ASSERT_TRUE(waitUntil([&] { return service.activeHolds() == 1; }));
    inhibitor.uninhibit();
    ASSERT_TRUE(waitUntil([&] { return service.activeHolds() == 0; }));
}

TEST(DBusScreenSaverInhibitor, NoBusAtAllIsHarmless) {
    WarningCounter warnings;
    DBusScreenSaverInhibitor inhibitor(
        "Sorinel", [] { return QDBusConnection::connectToBus("unix:path=/nonexistent/sorinel-test-bus", "no-bus"); });
    inhibitor.inhibit("r");
    settle();
    inhibitor.uninhibit();
    inhibitor.inhibit("r");
    EXPECT_FALSE(inhibitor.cookie());
    EXPECT_EQ(warnings.count(), 0);
}

TEST(DBusScreenSaverInhibitor, ARefusingServiceLeavesNothingHeld) {
    WarningCounter warnings;
    FakeScreenSaverService service({"/org/freedesktop/ScreenSaver", "/ScreenSaver"},
                                   "org.freedesktop.DBus.Error.AccessDenied");
    ASSERT_TRUE(service.registered());
    DBusScreenSaverInhibitor inhibitor("Sorinel");
    inhibitor.inhibit("r");
    ASSERT_TRUE(waitUntil([&] { return service.count("Inhibit") >= 1; }));
    settle();
    // A refusal is an answer: the other path is not tried.
    EXPECT_EQ(service.count("Inhibit"), 1);
    EXPECT_FALSE(inhibitor.cookie());
    inhibitor.uninhibit();
    settle();
    EXPECT_EQ(service.count("UnInhibit"), 0);
    EXPECT_EQ(warnings.count(), 0);
}

}  // namespace
}  // namespace sorinel::desktop

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
