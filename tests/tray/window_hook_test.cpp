// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The window-procedure layer and the hook that brings the window back from
// the tray: what it does to the window for each message, and that every
// message reaches the procedure it replaced unchanged.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/shell/window_procedures.h"
#include "playback/ports.h"
#include "tray/mod_wnd_proc.h"

namespace sorinel::tray {
namespace {

using platform::WindowProc;

struct Message {
    std::int32_t hWnd, uMsg, wParam, lParam;
    bool operator==(const Message&) const = default;
};

// The procedure in place before the hook: records what it receives and
// answers with a value of its own.
std::vector<Message> received;
std::int32_t answer = 0;
std::int32_t RecordingProc(std::int32_t hWnd, std::int32_t uMsg, std::int32_t wParam, std::int32_t lParam) {
    received.push_back({hWnd, uMsg, wParam, lParam});
    return answer;
}

// A window that logs what the hook does to it.
class HookedWindow : public FormAccess {
public:
    explicit HookedWindow(std::uint32_t handle) : handle_(handle) {}
    int state = 0;
    bool visible = false;
    bool failStateChange = false;
    std::vector<std::string> log;

    std::uint32_t hWnd() const override { return handle_; }
    int windowState() const override { return state; }
    void setWindowState(int s) override {
        log.push_back("state " + std::to_string(s));
        if (failStateChange) throw std::runtime_error("window refused the state");
        state = s;
    }
    void showWindow() override {
        log.push_back("show");
        visible = true;
    }
    std::uint32_t taskbarPictureHandle() const override { return 0; }
    playback::Timer& timer1() override { throw std::logic_error("not used by the hook"); }
    playback::Timer& timer2() override { throw std::logic_error("not used by the hook"); }
    playback::Player& player() override { throw std::logic_error("not used by the hook"); }
    double waitTimer(std::int32_t) override { throw std::logic_error("not used by the hook"); }
    void endProgram() override { throw std::logic_error("not used by the hook"); }

private:
    std::uint32_t handle_;
};

// Each test hooks a window of its own.
std::uint32_t freshHandle() {
    static std::uint32_t next = 0x1000;
    return next += 4;
}

class WindowHook : public ::testing::Test {
protected:
    void SetUp() override {
        received.clear();
        answer = 0;
        window = std::make_unique<HookedWindow>(freshHandle());
        hWnd = static_cast<std::int32_t>(window->hWnd());
        platform::SetWindowLongA(hWnd, platform::GWL_WNDPROC, &RecordingProc);
        modWndProc::installHook(*window);
    }
    void TearDown() override { modWndProc::releaseForm(*window); }
    std::unique_ptr<HookedWindow> window;
    std::int32_t hWnd = 0;
};

struct HookRow {
    const char* name;
    std::int32_t uMsg, wParam, lParam;
    int stateBefore;
    bool visibleBefore;
    std::vector<std::string> expectedLog;
    int stateAfter;
    bool visibleAfter;
};

class HookMessages : public WindowHook, public ::testing::WithParamInterface<HookRow> {};

TEST_P(HookMessages, ActsOnlyOnALeftPressOnTheIconAndPassesEverythingOn) {
    const HookRow& row = GetParam();
    window->state = row.stateBefore;
    window->visible = row.visibleBefore;
    answer = 0x7FFF1234;

    const std::int32_t result = platform::SendMessageA(hWnd, row.uMsg, row.wParam, row.lParam);

    EXPECT_EQ(window->log, row.expectedLog);
    EXPECT_EQ(window->state, row.stateAfter);
    EXPECT_EQ(window->visible, row.visibleAfter);
    EXPECT_EQ(received, (std::vector<Message>{{hWnd, row.uMsg, row.wParam, row.lParam}}));
    EXPECT_EQ(result, 0x7FFF1234);
}

const std::vector<std::string> kRestoreAndShow = {"state 0", "show"};
const std::vector<std::string> kShowOnly = {"show"};
const std::vector<std::string> kNothing = {};

INSTANTIATE_TEST_SUITE_P(
    Messages, HookMessages,
    ::testing::Values(HookRow{"LeftPressRestoresMinimised", 1025, 1, 513, 1, false, kRestoreAndShow, 0, true},
                      HookRow{"LeftPressAnyIconIdZero", 1025, 0, 513, 1, false, kRestoreAndShow, 0, true},
                      HookRow{"LeftPressAnyIconIdNegative", 1025, -1, 513, 1, false, kRestoreAndShow, 0, true},
                      HookRow{"LeftPressOnShownWindowOnlyShows", 1025, 1, 513, 0, true, kShowOnly, 0, true},
                      HookRow{"LeftPressOnHiddenNormalWindowShows", 1025, 1, 513, 0, false, kShowOnly, 0, true},
                      HookRow{"MouseMoveNothing", 1025, 1, 512, 1, false, kNothing, 1, false},
                      HookRow{"LeftReleaseNothing", 1025, 1, 514, 1, false, kNothing, 1, false},
                      HookRow{"DoubleClickNothing", 1025, 1, 515, 1, false, kNothing, 1, false},
                      HookRow{"RightPressNothing", 1025, 1, 516, 1, false, kNothing, 1, false},
                      HookRow{"MiddlePressNothing", 1025, 1, 519, 1, false, kNothing, 1, false},
                      HookRow{"NeighbourMessageBelow", 1024, 1, 513, 1, false, kNothing, 1, false},
                      HookRow{"NeighbourMessageAbove", 1026, 1, 513, 1, false, kNothing, 1, false},
                      HookRow{"PlainLeftPressOnTheWindow", 513, 0, 0x00100010, 1, false, kNothing, 1, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowHook, AFailingStateChangeStillShowsAndPassesOn) {
    window->state = 1;
    window->failStateChange = true;
    answer = 3;
    EXPECT_EQ(platform::SendMessageA(hWnd, 1025, 1, 513), 3);
    EXPECT_EQ(window->log, (std::vector<std::string>{"state 0", "show"}));
    EXPECT_EQ(received.size(), 1u);
}

TEST_F(WindowHook, HookingTheSameWindowAgainKeepsThePreviousProcedure) {
    // Saving the hook as its own predecessor would recurse without end.
    modWndProc::installHook(*window);
    EXPECT_EQ(modWndProc::PrevWndProc, &RecordingProc);
    answer = 11;
    EXPECT_EQ(platform::SendMessageA(hWnd, 15, 2, 3), 11);
    EXPECT_EQ(received.size(), 1u);
}

TEST_F(WindowHook, AfterTheWindowIsReleasedMessagesStillPassOn) {
    modWndProc::releaseForm(*window);
    window->state = 1;
    answer = 8;
    EXPECT_EQ(platform::SendMessageA(hWnd, 1025, 1, 513), 8);
    EXPECT_TRUE(window->log.empty());
    EXPECT_EQ(received.size(), 1u);
}

TEST(WindowProcedures, ANewWindowHasTheDefaultProcedure) {
    const auto h = static_cast<std::int32_t>(freshHandle());
    EXPECT_EQ(platform::SendMessageA(h, 1025, 1, 513), 0);
}

TEST(WindowProcedures, SetReturnsThePreviousProcedureInTurn) {
    const auto h = static_cast<std::int32_t>(freshHandle());
    EXPECT_EQ(platform::SetWindowLongA(h, platform::GWL_WNDPROC, &RecordingProc), &platform::DefWindowProcA);
    EXPECT_EQ(platform::SetWindowLongA(h, platform::GWL_WNDPROC, &modWndProc::HookWndProc), &RecordingProc);
    EXPECT_EQ(platform::SetWindowLongA(h, platform::GWL_WNDPROC, &RecordingProc), &modWndProc::HookWndProc);
}

TEST(WindowProcedures, OtherIndexOrNullProcedureChangesNothing) {
    const auto h = static_cast<std::int32_t>(freshHandle());
    platform::SetWindowLongA(h, platform::GWL_WNDPROC, &RecordingProc);
    EXPECT_EQ(platform::SetWindowLongA(h, -16, &platform::DefWindowProcA), nullptr);
    EXPECT_EQ(platform::SetWindowLongA(h, platform::GWL_WNDPROC, nullptr), nullptr);
    received.clear();
    platform::SendMessageA(h, 2, 3, 4);
    EXPECT_EQ(received, (std::vector<Message>{{h, 2, 3, 4}}));
}

TEST(WindowProcedures, CallingANullProcedureIsTheDefault) {
    EXPECT_EQ(platform::CallWindowProcA(nullptr, 1, 1025, 1, 513), 0);
    received.clear();
    answer = -5;
    EXPECT_EQ(platform::CallWindowProcA(&RecordingProc, 1, 2, 3, 4), -5);
    EXPECT_EQ(received, (std::vector<Message>{{1, 2, 3, 4}}));
}

}  // namespace
}  // namespace sorinel::tray
