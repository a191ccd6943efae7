// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the video is drawn: by OpenGL where a real driver is at hand, on the
// CPU where OpenGL itself would run on the CPU. A software OpenGL renderer
// (llvmpipe and its kin) draws every pixel on the CPU and then has it copied
// once more into the window; drawing straight into the window's image costs
// a quarter of that at full screen.
//
// SORINEL_VIDEO_OUTPUT=software or =opengl forces either way on X11; on
// Wayland the video is always drawn with OpenGL.

#include <QByteArray>
#include <optional>
#include <string_view>

namespace sorinel::platform {

enum class VideoOutput { Software, OpenGl };

inline constexpr const char* VideoOutputVariable = "SORINEL_VIDEO_OUTPUT";

// The way the variable's value forces, if it does (case does not matter).
std::optional<VideoOutput> forcedVideoOutput(const QByteArray& value);

// True for the GL_RENDERER string of an OpenGL implementation that runs on
// the CPU.
bool isSoftwareRenderer(std::string_view glRenderer);

// The choice for this machine: OpenGL on Wayland, else the variable, else
// software without a GPU render node, else what the OpenGL driver calls
// itself. Asking the driver
// loads it (tens of milliseconds): call it once the window shows.
VideoOutput chooseVideoOutput();

}  // namespace sorinel::platform
