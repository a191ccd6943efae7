// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/layout.h"

#include "platform/shell/window_procedures.h"
#include "playback/failure_stop.h"
#include "window/media_kinds.h"

#include <cmath>
#include <functional>
#include <limits>
#include <stdexcept>

namespace sorinel::window {

// From cmake/media_kinds.cmake, the one list of kinds that the desktop entry,
// the metainfo and the manual page are written from as well.
const char* const kMediaPattern = media_kinds::kPattern;

const char* const kDialogFilter = "メディアファイル|*.*";

namespace {

constexpr float kMinimumSize = 2000.0f;
// Where the window system parks a minimised window (-32000 pixels).
constexpr float kMinimisedPosition = -480000.0f;
constexpr float kHeightMargin = 700.0f;
constexpr float kWidthMargin = 100.0f;
constexpr float kPlayerHeightMargin = 500.0f;
constexpr float kColumnOffset = 10.0f;
constexpr float kSecondsBoxHeight = 250.0f;
constexpr float kPlayerLeft = 1.0f;

// Every step of the pass stands alone: one that fails is skipped, silently,
// and leaves its target (or variable) as it was.
void step(const std::function<void()>& action) { playback::stopFailure("a step of the layout", action); }

// The player's height, rounded half to even. Held in 32 bits so that a very
// tall window still gets a player rather than none.
std::int32_t playerHeight(float windowHeight) {
    const double p = std::nearbyint(static_cast<double>(windowHeight) - kPlayerHeightMargin);
    if (!(p >= std::numeric_limits<std::int32_t>::min() && p <= std::numeric_limits<std::int32_t>::max()))
        throw std::range_error("player height out of range");
    return static_cast<std::int32_t>(p);
}

struct Row {
    LayoutControl control;
    LayoutProperty property;
    std::function<float(const LayoutForm&)> value;
};

}  // namespace

void Form_Resize(LayoutForm& form) {
    using C = LayoutControl;
    using Prop = LayoutProperty;

    step([&] { form.yield(); });

    // A minimised window lives on as the tray icon; without a tray to bring it
    // back it stays minimised in the task bar instead of vanishing.
    step([&] {
        if (form.windowState() == platform::kWindowStateMinimised && form.trayAvailable()) form.hide();
    });
    step([&] {
        if (form.height() < kMinimumSize && form.top() != kMinimisedPosition) form.setHeight(kMinimumSize);
    });
    step([&] {
        if (form.width() < kMinimumSize && form.left() != kMinimisedPosition) form.setWidth(kMinimumSize);
    });

    float H = 0.0f;
    float W = 0.0f;
    std::int32_t P = 0;
    step([&] { H = form.height(); });
    step([&] { W = form.width(); });
    step([&] { H = H - kHeightMargin; });
    step([&] { W = W - kWidthMargin; });
    step([&] { P = playerHeight(form.height()); });

    step([&] { form.yield(); });

    const float row = H / 20.0f;
    const float quarter = W / 4.0f;
    const float eighth = W / 8.0f;
    const float column = W / 4.0f * 3.0f + kColumnOffset;
    auto below = [](C c) { return [c](const LayoutForm& f) { return f.get(c, Prop::Top) + f.get(c, Prop::Height); }; };
    auto constant = [](float v) { return [v](const LayoutForm&) { return v; }; };

    // In row order: the chained rows read what the other control reports at
    // the moment they run, after that control's own rounding.
    const Row rows[] = {
        {C::File1, Prop::Height, constant(row * 16.0f)},
        {C::Command1, Prop::Height, constant(row * 1.0f)},
        {C::randam_chk, Prop::Height, constant(row * 1.0f)},
        {C::loop_chk, Prop::Height, constant(row * 1.0f)},
        {C::full_chk, Prop::Height, constant(row * 1.0f)},
        {C::listloop_chk, Prop::Height, constant(row * 1.0f)},
        {C::StartTime_txt, Prop::Height, constant(kSecondsBoxHeight)},
        {C::EndTime_txt, Prop::Height, constant(kSecondsBoxHeight)},
        {C::File1, Prop::Width, constant(quarter)},
        {C::Command1, Prop::Width, constant(quarter)},
        {C::randam_chk, Prop::Width, constant(eighth)},
        {C::loop_chk, Prop::Width, constant(eighth)},
        {C::full_chk, Prop::Width, constant(quarter)},
        {C::listloop_chk, Prop::Width, constant(quarter)},
        {C::StartTime_txt, Prop::Width, constant(eighth)},
        {C::EndTime_txt, Prop::Width, constant(eighth)},
        {C::File1, Prop::Left, constant(column)},
        {C::Command1, Prop::Left, constant(column)},
        {C::loop_chk, Prop::Left, constant(column)},
        {C::full_chk, Prop::Left, constant(column)},
        {C::randam_chk, Prop::Left,
         [](const LayoutForm& f) { return f.get(C::loop_chk, Prop::Left) + f.get(C::loop_chk, Prop::Width); }},
        {C::listloop_chk, Prop::Left, constant(column)},
        {C::StartTime_txt, Prop::Left, constant(column)},
        {C::EndTime_txt, Prop::Left,
         [](const LayoutForm& f) {
             return f.get(C::StartTime_txt, Prop::Left) + f.get(C::StartTime_txt, Prop::Width);
         }},
        {C::File1, Prop::Top, constant(0.0f)},
        {C::Command1, Prop::Top, below(C::File1)},
        {C::randam_chk, Prop::Top, below(C::Command1)},
        {C::loop_chk, Prop::Top, below(C::Command1)},
        {C::full_chk, Prop::Top, below(C::loop_chk)},
        {C::listloop_chk, Prop::Top, below(C::full_chk)},
        {C::StartTime_txt, Prop::Top, below(C::listloop_chk)},
        {C::EndTime_txt, Prop::Top, below(C::listloop_chk)},
        {C::Image1, Prop::Left, constant(kPlayerLeft)},
        {C::Image1, Prop::Height, constant(static_cast<float>(static_cast<double>(P) / 16.0 * 14.0))},
        {C::Image1, Prop::Width, constant(quarter * 3.0f)},
        {C::MediaPlayer1, Prop::Left, constant(kPlayerLeft)},
        {C::MediaPlayer1, Prop::Height, constant(static_cast<float>(P))},
        {C::MediaPlayer1, Prop::Width, constant(quarter * 3.0f)},
    };
    for (const Row& r : rows) step([&] { form.set(r.control, r.property, r.value(form)); });

    step([&] { form.setPlayerAutoStart(true); });
    step([&] { form.setTimer1Interval(kTimer1IntervalMs); });
    step([&] { form.setFilePattern(kMediaPattern); });
    step([&] { form.setDialogFilter(kDialogFilter); });
}

}  // namespace sorinel::window
