// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The layout pass that follows the window's size: keeps the window at least
// 2000 twips each way, hides it when minimised (where a tray can bring it
// back), places the right-hand column and the player from the window's outer
// size, and re-applies the settings that must hold from the first display on.
// All lengths are twips (15 to a device-independent pixel).

#include <cstdint>
#include <string>

namespace sorinel::window {

// Timer1's interval: the window makes the timer with it, and every pass
// puts it back.
inline constexpr std::int32_t kTimer1IntervalMs = 2000;

enum class LayoutControl {
    File1,
    Command1,
    randam_chk,
    loop_chk,
    full_chk,
    listloop_chk,
    StartTime_txt,
    EndTime_txt,
    Image1,
    MediaPlayer1,
};
enum class LayoutProperty { Left, Top, Width, Height };

// What the pass needs of the window. Any setter may throw when the target
// refuses the value; the pass then skips that step and goes on.
class LayoutForm {
public:
    virtual ~LayoutForm() = default;
    virtual void yield() = 0;                // handle pending events once
    virtual int windowState() const = 0;     // platform::kWindowState*
    virtual bool trayAvailable() const = 0;  // a tray icon can bring a hidden window back
    virtual void hide() = 0;
    virtual float height() const = 0;  // outer size, frame included
    virtual float width() const = 0;
    virtual void setHeight(float twips) = 0;
    virtual void setWidth(float twips) = 0;
    virtual float top() const = 0;
    virtual float left() const = 0;
    // A control's geometry as the control reports it (after its own rounding).
    virtual float get(LayoutControl control, LayoutProperty property) const = 0;
    virtual void set(LayoutControl control, LayoutProperty property, float twips) = 0;
    virtual void setPlayerAutoStart(bool on) = 0;
    virtual void setTimer1Interval(std::int32_t ms) = 0;
    virtual void setFilePattern(const std::string& pattern) = 0;
    virtual void setDialogFilter(const std::string& filter) = 0;
};

// The media files the list shows, and the dialog's single filter.
extern const char* const kMediaPattern;
extern const char* const kDialogFilter;

void Form_Resize(LayoutForm& form);

}  // namespace sorinel::window
