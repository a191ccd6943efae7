// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The layout pass against a window whose controls keep exactly what they are
// given (or round it to whole pixels), so every row can be checked.
#include "window/layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <stdexcept>
#include <tuple>
#include <utility>
#include <vector>

namespace sorinel::window {
namespace {

using C = LayoutControl;
using Prop = LayoutProperty;

class FakeForm : public LayoutForm {
public:
    float outerHeight = 0, outerWidth = 0, outerTop = 300, outerLeft = 300;
    int state = 0;
    bool tray = true;
    bool hidden = false;
    bool roundToPixels = false;
    std::set<std::pair<C, Prop>> refuse;
    std::map<std::pair<C, Prop>, float> geometry;
    std::vector<std::tuple<C, Prop, float>> writes;
    bool autoStart = false;
    int timer1 = -1;
    std::string pattern, filter;
    int yields = 0;

    void yield() override { ++yields; }
    int windowState() const override { return state; }
    bool trayAvailable() const override { return tray; }
    void hide() override { hidden = true; }
    float height() const override { return outerHeight; }
    float width() const override { return outerWidth; }
    void setHeight(float v) override { outerHeight = v; }
    void setWidth(float v) override { outerWidth = v; }
    float top() const override { return outerTop; }
    float left() const override { return outerLeft; }
    float get(C c, Prop p) const override {
        auto it = geometry.find({c, p});
        return it == geometry.end() ? 0.0f : it->second;
    }
    void set(C c, Prop p, float v) override {
        if (refuse.count({c, p})) throw std::runtime_error("refused");
        writes.emplace_back(c, p, v);
        geometry[{c, p}] = roundToPixels ? std::round(v / 15.0f) * 15.0f : v;
    }
    void setPlayerAutoStart(bool on) override { autoStart = on; }
    void setTimer1Interval(std::int32_t ms) override { timer1 = ms; }
    void setFilePattern(const std::string& p) override { pattern = p; }
    void setDialogFilter(const std::string& f) override { filter = f; }

    struct Box {
        float left, top, width, height;
    };
    Box box(C c) const { return {get(c, Prop::Left), get(c, Prop::Top), get(c, Prop::Width), get(c, Prop::Height)}; }
};

void expectBox(const FakeForm& f, C c, FakeForm::Box want, const char* name) {
    auto got = f.box(c);
    EXPECT_FLOAT_EQ(got.left, want.left) << name << " left";
    EXPECT_FLOAT_EQ(got.top, want.top) << name << " top";
    EXPECT_FLOAT_EQ(got.width, want.width) << name << " width";
    EXPECT_FLOAT_EQ(got.height, want.height) << name << " height";
}

TEST(LayoutPass, LargeWindowPlacesEveryControl) {
    FakeForm f;
    f.outerHeight = 7200;
    f.outerWidth = 9600;
    Form_Resize(f);
    // H = 6500, W = 9500, P = 6700.
    expectBox(f, C::File1, {7135, 0, 2375, 5200}, "File1");
    expectBox(f, C::Command1, {7135, 5200, 2375, 325}, "Command1");
    expectBox(f, C::loop_chk, {7135, 5525, 1187.5, 325}, "loop_chk");
    expectBox(f, C::randam_chk, {8322.5, 5525, 1187.5, 325}, "randam_chk");
    expectBox(f, C::full_chk, {7135, 5850, 2375, 325}, "full_chk");
    expectBox(f, C::listloop_chk, {7135, 6175, 2375, 325}, "listloop_chk");
    expectBox(f, C::StartTime_txt, {7135, 6500, 1187.5, 250}, "StartTime_txt");
    expectBox(f, C::EndTime_txt, {8322.5, 6500, 1187.5, 250}, "EndTime_txt");
    EXPECT_FLOAT_EQ(f.get(C::Image1, Prop::Left), 1);
    EXPECT_FLOAT_EQ(f.get(C::Image1, Prop::Width), 7125);
    EXPECT_FLOAT_EQ(f.get(C::Image1, Prop::Height), 5862.5);
    EXPECT_FLOAT_EQ(f.get(C::MediaPlayer1, Prop::Left), 1);
    EXPECT_FLOAT_EQ(f.get(C::MediaPlayer1, Prop::Width), 7125);
    EXPECT_FLOAT_EQ(f.get(C::MediaPlayer1, Prop::Height), 6700);
    // The player and the picture keep their Top.
    for (auto& [c, p, v] : f.writes) EXPECT_FALSE((c == C::Image1 || c == C::MediaPlayer1) && p == Prop::Top);
}

TEST(LayoutPass, MinimumWindow) {
    FakeForm f;
    f.outerHeight = 2000;
    f.outerWidth = 2000;
    Form_Resize(f);
    // H = 1300, W = 1900, P = 1500.
    EXPECT_FLOAT_EQ(f.get(C::File1, Prop::Height), 1040);
    for (C c : {C::Command1, C::loop_chk, C::randam_chk, C::full_chk, C::listloop_chk})
        EXPECT_FLOAT_EQ(f.get(c, Prop::Height), 65);
    EXPECT_FLOAT_EQ(f.get(C::StartTime_txt, Prop::Height), 250);
    EXPECT_FLOAT_EQ(f.get(C::EndTime_txt, Prop::Height), 250);
    EXPECT_FLOAT_EQ(f.get(C::MediaPlayer1, Prop::Width), 1425);
    EXPECT_FLOAT_EQ(f.get(C::MediaPlayer1, Prop::Height), 1500);
    EXPECT_FLOAT_EQ(f.get(C::StartTime_txt, Prop::Top), 1300);
}

TEST(LayoutPass, RowsRunInOrderAndEveryPassWritesThemAll) {
    FakeForm f;
    f.outerHeight = 7200;
    f.outerWidth = 9600;
    Form_Resize(f);
    ASSERT_EQ(f.writes.size(), 38u);
    EXPECT_EQ(std::get<0>(f.writes.front()), C::File1);
    EXPECT_EQ(std::get<1>(f.writes.front()), Prop::Height);
    EXPECT_EQ(std::get<0>(f.writes.back()), C::MediaPlayer1);
    EXPECT_EQ(std::get<1>(f.writes.back()), Prop::Width);
    auto first = f.writes;
    f.writes.clear();
    Form_Resize(f);
    EXPECT_EQ(f.writes, first);
    EXPECT_TRUE(f.autoStart);
    EXPECT_EQ(f.timer1, 2000);
    EXPECT_EQ(f.pattern,
              "*.mpeg;*.wma;*.wmv;*.avi;*.mov;*.mpg;*.mp3;*.mp2;*.m2p;*.wav;*.asf;*.midi;*.aiff;*.au;*.dvr-ms;");
    EXPECT_EQ(f.filter, "メディアファイル|*.*");
    EXPECT_EQ(f.yields, 4);  // two a pass
}

struct MinimumRow {
    float height, width, top, left;
    float wantHeight, wantWidth;
};

class MinimumSize : public ::testing::TestWithParam<MinimumRow> {};

TEST_P(MinimumSize, SmallWindowsArePushedBack) {
    const auto& r = GetParam();
    FakeForm f;
    f.outerHeight = r.height;
    f.outerWidth = r.width;
    f.outerTop = r.top;
    f.outerLeft = r.left;
    Form_Resize(f);
    EXPECT_FLOAT_EQ(f.outerHeight, r.wantHeight);
    EXPECT_FLOAT_EQ(f.outerWidth, r.wantWidth);
}

INSTANTIATE_TEST_SUITE_P(Rows, MinimumSize,
                         ::testing::Values(MinimumRow{1999, 1999, 0, 0, 2000, 2000},
                                           MinimumRow{2000, 2000, 0, 0, 2000, 2000},  // exactly the minimum stays
                                           MinimumRow{2001, 1500, 0, 0, 2001, 2000},
                                           MinimumRow{300, 3000, -480000, 0, 300,
                                                      3000},  // minimised: height left alone
                                           MinimumRow{3000, 300, 0, -480000, 3000, 300},  // minimised: width left alone
                                           MinimumRow{300, 300, -479985, -479985, 2000, 2000}));

TEST(LayoutPass, MinimisedWindowIsHiddenAndKeepsItsSize) {
    FakeForm f;
    f.state = 1;
    f.outerTop = f.outerLeft = -480000;
    f.outerHeight = 540;
    f.outerWidth = 2400;
    Form_Resize(f);
    EXPECT_TRUE(f.hidden);
    EXPECT_FLOAT_EQ(f.outerHeight, 540);
    EXPECT_FLOAT_EQ(f.outerWidth, 2400);
}

TEST(LayoutPass, WithoutATrayAMinimisedWindowStaysInTheTaskBar) {
    FakeForm f;
    f.state = 1;
    f.tray = false;
    f.outerHeight = f.outerWidth = 5000;
    Form_Resize(f);
    EXPECT_FALSE(f.hidden);
}

TEST(LayoutPass, NormalWindowIsNotHidden) {
    FakeForm f;
    f.outerHeight = f.outerWidth = 5000;
    Form_Resize(f);
    EXPECT_FALSE(f.hidden);
}

TEST(LayoutPass, ChainedRowsUseWhatTheControlsReport) {
    FakeForm f;
    f.roundToPixels = true;
    f.outerHeight = 7200;
    f.outerWidth = 9600;
    Form_Resize(f);
    // loop_chk is given 7135 x 1187.5 and keeps 7140 x 1185; randam_chk
    // starts where loop_chk really ends.
    EXPECT_FLOAT_EQ(f.get(C::loop_chk, Prop::Left), 7140);
    EXPECT_FLOAT_EQ(f.get(C::loop_chk, Prop::Width), 1185);
    EXPECT_FLOAT_EQ(f.get(C::randam_chk, Prop::Left), 8325);
    EXPECT_FLOAT_EQ(f.get(C::Command1, Prop::Top), 5205);
}

TEST(LayoutPass, ARefusedRowIsSkippedAndThePassGoesOn) {
    FakeForm f;
    f.outerHeight = 7200;
    f.outerWidth = 9600;
    f.geometry[{C::Command1, Prop::Height}] = 600;  // what it had before
    f.refuse.insert({C::Command1, Prop::Height});
    f.refuse.insert({C::File1, Prop::Left});
    Form_Resize(f);
    // The chain below Command1 goes on from its previous height.
    EXPECT_FLOAT_EQ(f.get(C::loop_chk, Prop::Top), 5800);
    EXPECT_FLOAT_EQ(f.get(C::File1, Prop::Left), 0);
    EXPECT_FLOAT_EQ(f.get(C::MediaPlayer1, Prop::Height), 6700);
    EXPECT_EQ(f.timer1, 2000);
    EXPECT_EQ(f.writes.size(), 36u);
}

TEST(LayoutPass, VeryTallWindowStillGetsAPlayer) {
    FakeForm f;
    f.outerHeight = 40000;
    f.outerWidth = 9600;
    Form_Resize(f);
    EXPECT_FLOAT_EQ(f.get(C::MediaPlayer1, Prop::Height), 39500);
    EXPECT_FLOAT_EQ(f.get(C::Image1, Prop::Height), 34562.5);
}

TEST(LayoutPass, PlayerHeightRoundsHalfToEven) {
    FakeForm f;
    f.outerWidth = 9600;
    f.outerHeight = 3000.5f;  // 2500.5 -> 2500
    Form_Resize(f);
    EXPECT_FLOAT_EQ(f.get(C::MediaPlayer1, Prop::Height), 2500);
    f.outerHeight = 3001.5f;  // 2501.5 -> 2502
    Form_Resize(f);
    EXPECT_FLOAT_EQ(f.get(C::MediaPlayer1, Prop::Height), 2502);
}

}  // namespace
}  // namespace sorinel::window
