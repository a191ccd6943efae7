// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the tray, the window hook and start and shutdown see of Form1. Kept
// apart from the widget so that its windowState()/setWindowState() (0 normal,
// 1 minimised) do not hide QWidget's functions of the same names.

#include <cstdint>

#include "tray/form_access.h"

namespace sorinel::window {

class Form1;

class Form1TrayAccess final : public tray::FormAccess {
public:
    explicit Form1TrayAccess(Form1& form, playback::Timer& timer1, playback::Timer& timer2, playback::Player& player);

    std::uint32_t hWnd() const override;
    int windowState() const override;
    void setWindowState(int state) override;
    void showWindow() override;
    std::uint32_t taskbarPictureHandle() const override;
    playback::Timer& timer1() override { return timer1_; }
    playback::Timer& timer2() override { return timer2_; }
    playback::Player& player() override { return player_; }
    void beginShutdown() override;
    double waitTimer(std::int32_t sc) override;
    void endProgram() override;

private:
    Form1& form_;
    playback::Timer& timer1_;
    playback::Timer& timer2_;
    playback::Player& player_;
    mutable std::uint32_t pictureHandle_ = 0;
};

}  // namespace sorinel::window
