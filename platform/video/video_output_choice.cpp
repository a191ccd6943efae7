// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/video/video_output_choice.h"

#include "platform/display_server.h"

#include <QDir>
#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <algorithm>
#include <cctype>
#include <string>

namespace sorinel::platform {

namespace {

// A GPU driver shows itself as a render node; without one OpenGL can only
// be one of Mesa's CPU renderers, and asking it would only cost time.
bool hasGpuRenderNode() {
    return !QDir(QStringLiteral("/dev/dri")).entryList({QStringLiteral("renderD*")}, QDir::System).isEmpty();
}

std::optional<std::string> openGlRenderer() {
    QOffscreenSurface surface;
    surface.create();
    QOpenGLContext context;
    if (!context.create() || !context.makeCurrent(&surface)) return std::nullopt;
    const auto* name = reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER));
    std::optional<std::string> renderer;
    if (name) renderer = name;
    context.doneCurrent();
    return renderer;
}

}  // namespace

std::optional<VideoOutput> forcedVideoOutput(const QByteArray& value) {
    const QByteArray v = value.trimmed().toLower();
    if (v == "software" || v == "sw") return VideoOutput::Software;
    if (v == "opengl" || v == "gl") return VideoOutput::OpenGl;
    return std::nullopt;
}

bool isSoftwareRenderer(std::string_view glRenderer) {
    std::string lower(glRenderer);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    for (const char* cpu : {"llvmpipe", "softpipe", "swrast", "software rasterizer", "swiftshader"})
        if (lower.find(cpu) != std::string::npos) return true;
    return false;
}

VideoOutput chooseVideoOutput() {
    // Qt (6.4) on Wayland holds back a child window's software-drawn frames,
    // as it never counts the window exposed; OpenGL frames reach the
    // compositor.
    if (runsOnWayland()) return VideoOutput::OpenGl;
    if (const auto forced = forcedVideoOutput(qgetenv(VideoOutputVariable))) return *forced;
    if (!hasGpuRenderNode()) return VideoOutput::Software;
    const auto renderer = openGlRenderer();
    if (!renderer || isSoftwareRenderer(*renderer)) return VideoOutput::Software;
    return VideoOutput::OpenGl;
}

}  // namespace sorinel::platform
