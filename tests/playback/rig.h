// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The play-list logic wired to fakes the way the window wires it to its
// controls: list clicks, player reports and timer ticks reach the handlers.

#include <memory>
#include <string>
#include <vector>

#include "fakes.h"
#include "playback/sequence.h"

namespace sorinel::playback::testing {

// A folder of n numbered clips: "f0.mp4", "f1.mp4", ...
inline std::vector<std::string> numberedFiles(int n)
{
    std::vector<std::string> names;
    for (int k = 0; k < n; ++k)
        names.push_back("f" + std::to_string(k) + ".mp4");
    return names;
}

struct Rig {
    CallLog log;
    FakeClock clock;
    FakeEventPump pump{clock};
    FakePlayer player{clock, pump, log};
    FakeFileList list{log};
    FakeCheckBox loop_chk;
    FakeCheckBox randam_chk;
    FakeCheckBox listloop_chk;
    FakeCheckBox full_chk;
    FakeTextBox startTime;
    FakeTextBox endTime;
    FakeTimer timer1{clock};
    FakeTimer timer2{clock};
    SeededRandom seeded;
    RandomSource* random = &seeded;
    std::unique_ptr<PlaybackSequence> seq;

    explicit Rig(std::vector<std::string> files = {"a.mp4", "b.mp4", "c.mp4"}, RandomSource* randomSource = nullptr)
    {
        if (randomSource)
            random = randomSource;
        list.entries = std::move(files);
        listloop_chk.checked = 1;
        // The boxes' initial texts are not numbers.
        startTime.content = "開始秒";
        endTime.content = "終了秒";
        seq = std::make_unique<PlaybackSequence>(SequenceControls{player, list, loop_chk, randam_chk, listloop_chk,
                                                                  full_chk, startTime, endTime, timer1, timer2, clock,
                                                                  *random, pump});
        list.onClick = [this] { seq->File1_Click(); };
        list.onEntryMoved = [this](std::int16_t from, std::int16_t to) { seq->File1_EntryMoved(from, to); };
        list.onEntryRemoved = [this](std::int16_t from, std::int16_t following) {
            seq->File1_EntryRemoved(from, following);
        };
        player.onStateChange = [this](std::int32_t s) { seq->MediaPlayer1_PlayStateChange(s); };
        player.onStoppedByUser = [this] { seq->MediaPlayer1_StoppedByUser(); };
        player.onPlayWithoutMedia = [this] { seq->MediaPlayer1_PlayWithoutMedia(); };
        timer1.onTick = [this] { seq->Timer1_Timer(); };
        timer2.onTick = [this] { seq->Timer2_Timer(); };
        pump.timers = {&timer1, &timer2};
        timer1.prime(2000, true);
        timer2.prime(0, true);
    }

    // The paths handed to the player that started a file, in order.
    std::vector<std::string> filesStarted() const
    {
        std::vector<std::string> started;
        for (const auto& u : player.urlsSet)
            if (!u.empty())
                started.push_back(u);
        return started;
    }
    std::string path(int index) const { return list.pathOf(index); }
};

}  // namespace sorinel::playback::testing
