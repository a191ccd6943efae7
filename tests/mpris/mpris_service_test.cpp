// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The MPRIS service against a stand-in window, with a client on its own
// connection to the test's private session bus: what a client reads and is
// told, which requests reach the window and when, and the name taken once.
#include "desktop/mpris/mpris_service.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusInterface>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusReply>
#include <QElapsedTimer>
#include <QThread>
#include <QUrl>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "mpris_client.h"

namespace sorinel::desktop {
namespace {

using Status = RemoteControlTarget::Status;
using testing::MprisClient;
using testing::waitUntil;

// The window as far as the service can tell. Every request records its name
// and whether the caller already had its reply when the request ran.
class FakeWindow final : public RemoteControlTarget {
public:
    Status st = Status::Stopped;
    QString path;
    double duration = 0;
    double position = 0;
    int volume = 100;
    bool listHasEntries = true;

    std::vector<std::string> requests;
    std::vector<bool> repliedFirst;
    std::function<bool()> callerHasReply = [] { return true; };

    void show() { emit changed(); }

    Status status() const override { return st; }
    QString mediaPath() const override { return path; }
    double durationSeconds() const override { return duration; }
    double positionSeconds() const override { return position; }
    int volumePercent() const override { return volume; }
    void setVolumePercent(int percent) override {
        record("volume " + std::to_string(percent));
        volume = percent;
    }
    bool canPlay() const override { return !path.isEmpty() || listHasEntries; }
    void play() override { record("play"); }
    void pause() override { record("pause"); }
    void stopByUser() override { record("stop"); }
    void next() override { record("next"); }
    void seekTo(double seconds) override {
        record("seek " + std::to_string(static_cast<int>(seconds * 10)));
        position = seconds;
    }
    void raiseWindow() override { record("raise"); }
    QString refusalOfUri(const QString& uri) const override {
        return uri == QLatin1String("file:///media/ok.mpg") ? QString() : QStringLiteral("not this one");
    }
    void openUri(const QString& uri) override { record("open " + uri.toStdString()); }

private:
    // The real window's requests pump events, as this does: the reply of a
    // call answered first arrives meanwhile.
    void record(std::string what) {
        requests.push_back(std::move(what));
        repliedFirst.push_back(waitUntil(callerHasReply, 1000));
    }
};

class MprisServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(service.registerOnBus());
        ASSERT_TRUE(client.connected());
        client.follow();
    }

    // Calls a method the way a client does, without waiting in the call:
    // the window records whether this call's reply had arrived.
    void call(const QString& method, const QVariantList& args = {}) {
        auto watcher = client.callAsync(method, args);
        window.callerHasReply = [watcher] { return watcher->isFinished(); };
        waitUntil([&] { return watcher->isFinished(); }, 5000);
        ASSERT_FALSE(watcher->isError()) << watcher->error().message().toStdString();
        testing::pumpFor(50);  // what the service does after the reply
    }

    FakeWindow window;
    MprisService service{window, QStringLiteral("sorinel")};
    MprisClient client;
};

// After every change the window reports, the values a client has been told
// (PropertiesChanged) equal what it reads (GetAll), and both follow the rules
// of the interface for that state of the window.
TEST_F(MprisServiceTest, ClientIsToldWhatItReads) {
    struct Shown {
        Status status;
        QString path;
        double duration;
        int volume;
        bool newTrack;  // a client must see a new track id
    };
    const std::vector<Shown> rows = {
        {Status::Stopped, "", 0, 100, false},
        {Status::Playing, "/media/a b#1.mp3", 0, 100, true},  // length not known yet
        {Status::Playing, "/media/a b#1.mp3", 184.25, 100, false},
        {Status::Paused, "/media/a b#1.mp3", 184.25, 37, false},
        {Status::Stopped, "/media/a b#1.mp3", 184.25, 37, false},
        {Status::Stopped, "", 0, 37, false},                      // unloaded
        {Status::Playing, "/media/a b#1.mp3", 184.25, 37, true},  // the same file again
        {Status::Playing, "/メディア/曲.wmv", 12, 0, true},
    };
    QString lastTrackId;
    for (std::size_t n = 0; n < rows.size(); ++n) {
        SCOPED_TRACE("row " + std::to_string(n));
        const Shown& row = rows[n];
        window.st = row.status;
        window.path = row.path;
        window.duration = row.duration;
        window.volume = row.volume;
        window.show();

        const QVariantMap read = client.playerProperties();
        ASSERT_TRUE(waitUntil([&] { return client.told().value("Metadata") == read.value("Metadata"); }, 3000))
            << "told metadata never matched the one read";
        for (const char* key : {"PlaybackStatus", "Metadata", "Volume", "CanPlay", "CanPause", "CanSeek"})
            EXPECT_EQ(client.told().value(key), read.value(key)) << key;

        const char* status[] = {"Stopped", "Paused", "Playing"};
        EXPECT_EQ(read.value("PlaybackStatus").toString(), status[int(row.status)]);
        EXPECT_DOUBLE_EQ(read.value("Volume").toDouble(), row.volume / 100.0);
        EXPECT_EQ(read.value("CanPause").toBool(), !row.path.isEmpty());
        EXPECT_EQ(read.value("CanSeek").toBool(), !row.path.isEmpty() && row.duration > 0);
        EXPECT_TRUE(read.value("CanPlay").toBool());

        const QVariantMap meta = read.value("Metadata").toMap();
        const QString trackId = meta.value("mpris:trackid").value<QDBusObjectPath>().path();
        if (row.path.isEmpty()) {
            EXPECT_EQ(trackId, "/org/mpris/MediaPlayer2/TrackList/NoTrack");
            EXPECT_EQ(meta.size(), 1);
        } else {
            EXPECT_FALSE(trackId.startsWith("/org/mpris/")) << trackId.toStdString();
            EXPECT_EQ(trackId != lastTrackId, row.newTrack) << trackId.toStdString();
            EXPECT_EQ(meta.value("xesam:title").toString(), row.path.section('/', -1));
            EXPECT_EQ(QUrl(meta.value("xesam:url").toString()).toLocalFile(), row.path);
            EXPECT_FALSE(meta.value("xesam:url").toString().contains(' '));
            EXPECT_EQ(meta.contains("mpris:length"), row.duration > 0);
            if (row.duration > 0) {
                EXPECT_EQ(meta.value("mpris:length").toLongLong(), qlonglong(row.duration * 1e6));
            }
            lastTrackId = trackId;
        }
    }
    // Nothing changed, nothing told.
    const int signalsBefore = client.propertiesChangedCount();
    window.show();
    testing::pumpFor(200);
    EXPECT_EQ(client.propertiesChangedCount(), signalsBefore);
}

// Each request from the bus reaches the window as the request the interface
// means in that state, and only after the caller has its reply (the real
// window's requests pump events and may wait a second).
TEST_F(MprisServiceTest, RequestsReachTheWindowAfterTheReply) {
    struct Row {
        Status status;
        QString path;
        QString method;
        QVariantList args;  // for SetPosition: the position; the track is the current one
        std::vector<std::string> expected;
    };
    const QString file = "/media/clip.mpg";
    const std::vector<Row> rows = {
        {Status::Stopped, "", "Play", {}, {"play"}},  // nothing loaded: the window plays an entry
        {Status::Playing, file, "Play", {}, {}},
        {Status::Playing, file, "Pause", {}, {"pause"}},
        {Status::Paused, file, "Pause", {}, {}},
        {Status::Stopped, file, "Pause", {}, {}},
        {Status::Playing, file, "PlayPause", {}, {"pause"}},
        {Status::Paused, file, "PlayPause", {}, {"play"}},
        {Status::Stopped, "", "PlayPause", {}, {"play"}},
        {Status::Playing, file, "Stop", {}, {"stop"}},
        {Status::Paused, file, "Stop", {}, {"stop"}},
        {Status::Stopped, file, "Stop", {}, {}},
        {Status::Playing, file, "Next", {}, {"next"}},
        {Status::Stopped, "", "Next", {}, {"next"}},
        {Status::Playing, file, "Previous", {}, {}},
        {Status::Playing, file, "Seek", {qlonglong(2'500'000)}, {"seek 125"}},  // from 10 s
        {Status::Playing, file, "Seek", {qlonglong(-30'000'000)}, {"seek 0"}},
        {Status::Playing, file, "Seek", {qlonglong(60'000'000)}, {"next"}},  // past the end of 60 s
        {Status::Stopped, "", "Seek", {qlonglong(1'000'000)}, {}},
        {Status::Paused, file, "SetPosition", {qlonglong(42'500'000)}, {"seek 425"}},
        {Status::Paused, file, "SetPosition", {qlonglong(-1)}, {}},
        {Status::Paused, file, "SetPosition", {qlonglong(61'000'000)}, {}},  // past the end
        {Status::Paused, file, "SetPosition for another track", {qlonglong(5'000'000)}, {}},
        {Status::Playing, file, "Raise", {}, {"raise"}},
        {Status::Playing, file, "OpenUri", {QString("file:///media/ok.mpg")}, {"open file:///media/ok.mpg"}},
    };
    for (std::size_t n = 0; n < rows.size(); ++n) {
        const Row& row = rows[n];
        SCOPED_TRACE("row " + std::to_string(n) + " " + row.method.toStdString());
        window.st = row.status;
        window.path = row.path;
        window.duration = 60;
        window.position = 10;
        window.show();
        testing::pumpFor(30);
        window.requests.clear();
        window.repliedFirst.clear();
        QVariantList args = row.args;
        QString method = row.method;
        if (method.startsWith("SetPosition")) {
            // A track that has gone since the client looked is stale.
            const QDBusObjectPath track = method == "SetPosition" ? client.trackId() : QDBusObjectPath("/gone");
            args.prepend(QVariant::fromValue(track));
            method = "SetPosition";
        }
        call(method, args);
        EXPECT_EQ(window.requests, row.expected);
        for (bool replied : window.repliedFirst) EXPECT_TRUE(replied) << "acted inside the bus call";
    }
}

// What the window refuses to open is an error to the caller, with the
// window's reason, and nothing reaches the window.
TEST_F(MprisServiceTest, RefusedUrisAreAnErrorAndOpenNothing) {
    for (const char* uri : {"file:///etc/passwd", "http://example.com/a.mpg", "lavfi://testsrc"}) {
        SCOPED_TRACE(uri);
        window.requests.clear();
        auto watcher = client.callAsync("OpenUri", {QString::fromLatin1(uri)});
        ASSERT_TRUE(waitUntil([&] { return watcher->isFinished(); }, 5000));
        ASSERT_TRUE(watcher->isError());
        EXPECT_EQ(watcher->error().name(), QString::fromLatin1(MprisService::kOpenUriRefused));
        EXPECT_TRUE(watcher->error().message().contains("not this one")) << watcher->error().message().toStdString();
        testing::pumpFor(100);
        EXPECT_TRUE(window.requests.empty());
    }
}

// A jump of the position is announced with Seeked: at once for the service's
// own seek, within the watch for one made elsewhere (the start skip, the
// transport bar), never for the position merely moving on while playing.
TEST_F(MprisServiceTest, JumpsAreAnnouncedAndSteadyPlayIsNot) {
    window.st = Status::Playing;
    window.path = "/media/long.mov";
    window.duration = 300;
    window.position = 0;
    window.show();
    QElapsedTimer playing;
    playing.start();
    // Playing time moves the position: no Seeked for that.
    ASSERT_TRUE(waitUntil(
        [&] {
            window.position = playing.elapsed() / 1000.0;
            return playing.elapsed() > 2500;
        },
        4000));
    EXPECT_TRUE(client.seeked().empty());

    window.position = 200;  // moved by someone else while playing
    ASSERT_TRUE(waitUntil([&] { return !client.seeked().empty(); }, 2500));
    EXPECT_EQ(client.seeked().back(), 200'000'000);

    // Paused, moved, resumed: the start skip's way.
    window.st = Status::Paused;
    window.show();
    testing::pumpFor(100);
    window.position = 30;
    window.st = Status::Playing;
    window.show();
    ASSERT_TRUE(waitUntil([&] { return client.seeked().size() == 2; }, 1000));
    EXPECT_EQ(client.seeked().back(), 30'000'000);

    call("SetPosition", {QVariant::fromValue(client.trackId()), qlonglong(90'000'000)});
    ASSERT_TRUE(waitUntil([&] { return client.seeked().size() == 3; }, 1000));
    EXPECT_EQ(client.seeked().back(), 90'000'000);
}

TEST_F(MprisServiceTest, ClientSetsTheVolumeWithinRange) {
    for (auto [asked, percent] : std::vector<std::pair<double, int>>{{0.5, 50}, {1.7, 100}, {-0.2, 0}, {0.333, 33}}) {
        ASSERT_TRUE(client.setPlayerProperty("Volume", asked));
        ASSERT_TRUE(waitUntil([&, percent = percent] { return window.volume == percent; }, 2000)) << asked;
        ASSERT_TRUE(
            waitUntil([&, percent = percent] { return client.told().value("Volume") == percent / 100.0; }, 2000))
            << asked;
    }
}

// A second instance finds the name taken and runs without it, without a
// trace in the log; so does a program with no bus at all.
TEST(MprisServiceName, SecondInstanceAndNoBusRunWithoutTheName) {
    testing::WarningLog warnings;
    FakeWindow first, second, third;
    MprisService owner(first, "sorinel");
    ASSERT_TRUE(owner.registerOnBus());
    MprisService other(second, "sorinel",
                       [] { return QDBusConnection::connectToBus(QDBusConnection::SessionBus, "second"); });
    EXPECT_FALSE(other.registerOnBus());
    EXPECT_FALSE(other.registered());
    MprisService busless(third, "sorinel", [] { return QDBusConnection(QStringLiteral("no bus")); });
    EXPECT_FALSE(busless.registerOnBus());

    second.st = Status::Playing;
    second.path = "/media/other.mp3";
    second.show();
    MprisClient client;
    testing::pumpFor(200);
    EXPECT_EQ(client.playerProperties().value("PlaybackStatus").toString(), "Stopped");  // the first's
    EXPECT_EQ(client.propertiesChangedCount(), 0);
    EXPECT_TRUE(warnings.lines().isEmpty()) << warnings.lines().join('\n').toStdString();
    QDBusConnection::disconnectFromBus("second");
}

}  // namespace
}  // namespace sorinel::desktop

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
