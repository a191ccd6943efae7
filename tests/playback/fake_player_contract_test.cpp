// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The headless tests are only as good as their player: the fake must report
// in the order the real component does. Each story runs against the fake and
// against the component's own state rules (driven the way the engine drives
// them), and the reports each call gives before it returns, and those that
// come later from the event loop, must be the same.

#include <gtest/gtest.h>

#include "fakes.h"
#include "platform/player/play_state_machine.h"

namespace sorinel::playback::testing {
namespace {

enum class Call { Load, LoadBroken, Unload, Play, Pause, Stop, Settle, RunToEnd };

// What one call reported before it returned, or what came later ("later:").
using Reports = std::vector<std::string>;

Reports throughTheFake(const std::vector<Call>& story)
{
    FakeClock clock;
    FakeEventPump pump(clock);
    CallLog log;
    FakePlayer player(clock, pump, log);
    player.defaultDuration = 5.0;
    player.unplayable = {"/broken.mp4"};
    std::string now;
    player.onStateChange = [&](std::int32_t s) { now += std::to_string(s); };
    Reports out;
    for (Call call : story) {
        now.clear();
        switch (call) {
        case Call::Load:
            player.setUrl("/a.mp4");
            break;
        case Call::LoadBroken:
            player.setUrl("/broken.mp4");
            break;
        case Call::Unload:
            player.setUrl("");
            break;
        case Call::Play:
            player.play();
            break;
        case Call::Pause:
            player.pause();
            break;
        case Call::Stop:
            player.stop();
            break;
        case Call::Settle:
            pump.runFor(0.5);
            break;
        case Call::RunToEnd:
            pump.runFor(10.0);
            break;
        }
        out.push_back(now);
    }
    return out;
}

// The component's rules, with the engine's events as a real engine sends
// them: the file starts, loads and runs after the call, from the event loop.
Reports throughTheComponent(const std::vector<Call>& story)
{
    std::string now;
    platform::PlayStateMachine machine([&](int s) { now += std::to_string(s); }, nullptr);
    long long entry = 0;
    bool broken = false;
    Reports out;
    for (Call call : story) {
        now.clear();
        switch (call) {
        case Call::Load:
        case Call::LoadBroken:
            broken = call == Call::LoadBroken;
            machine.beginLoad(true);
            machine.loadIssued(++entry);
            break;
        case Call::Unload:
            machine.unload();
            break;
        case Call::Play:
            machine.play();
            break;
        case Call::Pause:
            machine.pause();
            break;
        case Call::Stop:
            machine.stop();
            break;
        case Call::Settle:
            machine.onFileStarted(entry);
            if (broken) {
                machine.onFileEnded(entry);
                break;
            }
            machine.onFileLoaded();
            machine.onPlaybackRestarted(false);
            break;
        case Call::RunToEnd:
            machine.onEndReached();
            break;
        }
        out.push_back(now);
    }
    return out;
}

using C = Call;

class FakePlayerContractTest : public ::testing::TestWithParam<std::vector<Call>> {};

TEST_P(FakePlayerContractTest, ReportsWhatTheComponentReportsWhenItDoes)
{
    EXPECT_EQ(throughTheFake(GetParam()), throughTheComponent(GetParam()));
}

// Play from stopped is left out: how the component announces it is its own
// business and may change.
INSTANTIATE_TEST_SUITE_P(Stories, FakePlayerContractTest,
                         ::testing::Values(std::vector<Call>{C::Load, C::Settle, C::Pause, C::Play, C::Stop, C::Stop,
                                                             C::Unload},
                                           std::vector<Call>{C::Load, C::Load, C::Settle},
                                           std::vector<Call>{C::Load, C::Settle, C::Load, C::Settle, C::Unload},
                                           std::vector<Call>{C::Load, C::Stop, C::Settle, C::Unload},
                                           std::vector<Call>{C::Load, C::Unload, C::Settle},
                                           std::vector<Call>{C::Load, C::Settle, C::RunToEnd, C::Stop, C::Unload},
                                           std::vector<Call>{C::LoadBroken, C::Settle, C::Load, C::Settle},
                                           std::vector<Call>{C::Unload, C::Stop, C::Pause}));

}  // namespace
}  // namespace sorinel::playback::testing
