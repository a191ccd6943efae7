// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the tray, the window hook and the start and shutdown sequence need of
// the main window. Form1 implements it; tests implement it with fakes.

#include <cstdint>

namespace sorinel::playback {
class Player;
class Timer;
}  // namespace sorinel::playback

namespace sorinel::tray {

class FormAccess {
public:
    virtual ~FormAccess() = default;
    virtual std::uint32_t hWnd() const = 0;  // the window's handle
    virtual int windowState() const = 0;     // platform::kWindowState*
    virtual void setWindowState(int state) = 0;
    virtual void showWindow() = 0;                           // modeless, no owner
    virtual std::uint32_t taskbarPictureHandle() const = 0;  // Img_taskbar's picture
    virtual playback::Timer& timer1() = 0;
    virtual playback::Timer& timer2() = 0;
    virtual playback::Player& player() = 0;
    // The window is closing: from now on no handler may start a file (a list
    // click, a NextPlay still on the stack). Form1 maps it to the play-list
    // sequence's beginShutdown(); the default suits a window without one.
    virtual void beginShutdown() {}
    // Waits sc seconds while events are handled (the window's WaitTimer).
    virtual double waitTimer(std::int32_t sc) = 0;
    // Ends the program: no handler of the program runs after this returns
    // control to the event loop, and the process exits with status 0.
    virtual void endProgram() = 0;
};

}  // namespace sorinel::tray
