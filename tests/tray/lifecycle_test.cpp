// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Start and shutdown: the hook and the icon at load, and a close that ends
// the program cleanly whatever the play-list logic is doing at that moment.
// The play-list logic is the real one, on the playback tests' fakes and
// their fake clock, so waits take no real time.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/shell/window_procedures.h"
#include "rig.h"
#include "tray/lifecycle.h"
#include "tray/mod_wnd_proc.h"

namespace sorinel::tray {
namespace {

using playback::testing::Rig;

// The window's side of start and shutdown, wired to the rig the way Form1
// wires it to the real sequence.
class RigForm : public FormAccess {
public:
    explicit RigForm(Rig& rig) : rig_(rig) {}
    int endProgramCalls = 0;
    int shows = 0;
    double waitStartedAt = -1;
    double waitEndedAt = -1;

    std::uint32_t hWnd() const override { return handle_; }
    int windowState() const override { return 0; }
    void setWindowState(int) override {}
    void showWindow() override { ++shows; }
    std::uint32_t taskbarPictureHandle() const override { return 0; }
    playback::Timer& timer1() override { return rig_.timer1; }
    playback::Timer& timer2() override { return rig_.timer2; }
    playback::Player& player() override { return rig_.player; }
    void beginShutdown() override {
        rig_.log.push_back("beginShutdown");
        rig_.seq->beginShutdown();
    }
    double waitTimer(std::int32_t sc) override {
        rig_.log.push_back("wait " + std::to_string(sc));
        waitStartedAt = rig_.clock.monotonic;
        const double r = rig_.seq->WaitTimer(sc);
        waitEndedAt = rig_.clock.monotonic;
        return r;
    }
    void endProgram() override {
        rig_.log.push_back("endProgram");
        ++endProgramCalls;
        rig_.seq->endProgram();
    }

private:
    Rig& rig_;
    // Each window its own: the hook stays on a window until the process ends.
    std::uint32_t handle_ = [] {
        static std::uint32_t next = 0x5150;
        return next += 4;
    }();
};

class Shutdown : public ::testing::Test {
protected:
    Rig rig;
    RigForm form{rig};

    void TearDown() override { modWndProc::releaseForm(form); }

    std::vector<std::string> logSince(std::size_t mark) const {
        return {rig.log.begin() + static_cast<std::ptrdiff_t>(mark), rig.log.end()};
    }
    static bool containsPrefix(const std::vector<std::string>& log, const std::string& prefix) {
        return std::any_of(log.begin(), log.end(), [&](const std::string& s) { return s.rfind(prefix, 0) == 0; });
    }
    // The program's end, as the window sees it: whatever is still queued is
    // never handled, but the test runs it anyway to prove nothing would start.
    void runOnAfterTheEnd() { rig.pump.runFor(60); }
    void expectEndedCleanly(std::size_t mark) {
        EXPECT_EQ(form.endProgramCalls, 1);
        EXPECT_FALSE(rig.timer1.enabled());
        EXPECT_FALSE(rig.timer2.enabled());
        EXPECT_GE(form.waitEndedAt - form.waitStartedAt, 1.5);
        // The wait ends at the first clock reading past its deadline.
        EXPECT_LE(form.waitEndedAt - form.waitStartedAt, 2.5 + 0.01);
        runOnAfterTheEnd();
        const auto after = logSince(mark);
        EXPECT_FALSE(containsPrefix(after, "select ")) << "an entry was selected during or after the close";
        EXPECT_EQ(rig.filesStarted(), std::vector<std::string>{rig.path(0)});
    }
};

TEST_F(Shutdown, StepsRunInOrderAndEndTheProgramOnce) {
    rig.list.userSelects(0);
    rig.pump.runFor(5);
    const std::size_t mark = rig.log.size();
    Form_Unload(form);
    const auto steps = logSince(mark);
    const std::vector<std::string> expectedPrefix = {"beginShutdown", "stop", "wait 2"};
    ASSERT_GE(steps.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(steps.begin(), steps.begin() + 3), expectedPrefix);
    EXPECT_EQ(steps.back(), "endProgram");
    EXPECT_EQ(rig.player.stopCalls, 1);
    expectEndedCleanly(mark);
}

TEST_F(Shutdown, ClosingWhileAFileNearsItsEndStartsNoOther) {
    // The file would end and the confirmation tick would advance within the
    // close's wait, if the timers still ran.
    rig.player.durations[rig.path(0)] = 6.0;
    rig.list.userSelects(0);
    rig.pump.runFor(5.5);
    const std::size_t mark = rig.log.size();
    Form_Unload(form);
    expectEndedCleanly(mark);
}

TEST_F(Shutdown, ClosingInsideNextPlaysWaitStartsNoOther) {
    rig.player.durations[rig.path(0)] = 3.0;
    rig.list.userSelects(0);
    const double start = rig.clock.monotonic;
    bool closedInsideNextPlay = false;
    std::size_t mark = 0;
    // 3 s end, 0.2 s confirmation, then NextPlay waits about a second.
    rig.pump.at(start + 3.6, [&] {
        // The confirmation tick has run and handed over to NextPlay, which
        // has not yet stopped the player.
        closedInsideNextPlay =
            !rig.timer2.intervalsSet.empty() && rig.timer2.intervalsSet.back() == 0 && rig.player.stopCalls == 0;
        mark = rig.log.size();
        Form_Unload(form);
    });
    rig.pump.runFor(10);
    ASSERT_TRUE(closedInsideNextPlay);
    expectEndedCleanly(mark);
    // NextPlay, back from its wait after the end, left the player alone.
    EXPECT_EQ(rig.player.stopCalls, 1);
    EXPECT_FALSE(containsPrefix(logSince(mark), "url "));
}

TEST_F(Shutdown, ClosingInsideTheStartSkipWaitSkipsNothing) {
    rig.startTime.content = "30";
    std::size_t mark = 0;
    // Scheduled first: the click itself runs the playing report and its wait.
    rig.pump.after(0.5, [&] {
        mark = rig.log.size();
        Form_Unload(form);
    });
    rig.list.userSelects(0);
    rig.pump.runFor(10);
    ASSERT_EQ(rig.player.pauseCalls, 1) << "the start skip's wait was not running";
    expectEndedCleanly(mark);
    EXPECT_TRUE(rig.player.positionsSet.empty());
}

TEST_F(Shutdown, AListClickDuringTheCloseStartsNoFile) {
    rig.list.userSelects(0);
    rig.pump.runFor(2);
    rig.pump.after(1.0, [&] { rig.list.userSelects(2); });
    Form_Unload(form);
    EXPECT_EQ(rig.filesStarted(), std::vector<std::string>{rig.path(0)});
    EXPECT_EQ(form.endProgramCalls, 1);
}

TEST_F(Shutdown, AFailingPlayerStopStillRemovesAndEnds) {
    rig.list.userSelects(0);
    rig.pump.runFor(2);
    rig.player.failingCall = "stop";
    const std::size_t mark = rig.log.size();
    Form_Unload(form);
    const auto steps = logSince(mark);
    EXPECT_TRUE(std::find(steps.begin(), steps.end(), "wait 2") != steps.end());
    expectEndedCleanly(mark);
}

std::int32_t AnswersSeven(std::int32_t, std::int32_t, std::int32_t, std::int32_t) { return 7; }

TEST_F(Shutdown, LoadHooksTheWindowOverItsPreviousProcedure) {
    const auto hWnd = static_cast<std::int32_t>(form.hWnd());
    platform::SetWindowLongA(hWnd, platform::GWL_WNDPROC, &AnswersSeven);
    Form_Load(form);  // no application object: the icon is not added, nothing fails
    EXPECT_EQ(modWndProc::PrevWndProc, &AnswersSeven);
    // A left press on the icon: the hook shows this window and passes it on.
    EXPECT_EQ(platform::SendMessageA(hWnd, 1025, 1, 513), 7);
    EXPECT_EQ(form.shows, 1);
    form.endProgram();  // the end, for the rig
}

TEST_F(Shutdown, UnloadLeavesTheHookButLetsGoOfTheWindow) {
    const auto hWnd = static_cast<std::int32_t>(form.hWnd());
    Form_Load(form);
    Form_Unload(form);
    platform::SendMessageA(hWnd, 1025, 1, 513);
    EXPECT_EQ(form.shows, 0);
    EXPECT_EQ(platform::SetWindowLongA(hWnd, platform::GWL_WNDPROC, &platform::DefWindowProcA),
              &modWndProc::HookWndProc);
}

}  // namespace
}  // namespace sorinel::tray
