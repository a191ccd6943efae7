// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The choices made before the engine starts, from what the machine and the
// user say: which OpenGL renderers are the CPU's, and which values of the
// two environment variables count, and whether the sound can go anywhere.
#include "platform/engine/engine_log.h"
#include "platform/engine/sound_output_choice.h"
#include "platform/video/video_output_choice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace sorinel::platform {
namespace {

TEST(VideoOutputChoice, OnlyCpuRenderersCountAsSoftware) {
    struct Row {
        const char* renderer;
        bool software;
    } rows[] = {
        {"llvmpipe (LLVM 15.0.6, 256 bits)", true},
        {"softpipe", true},
        {"Software Rasterizer", true},
        {"Mesa X11 swrast", true},
        {"SwiftShader Device (Subzero)", true},
        // Real drivers, some of them built with LLVM too.
        {"AMD Radeon RX 580 Series (polaris10, LLVM 15.0.6, DRM 3.49, 6.1.0-13-amd64)", false},
        {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", false},
        {"NVIDIA GeForce GTX 1060 6GB/PCIe/SSE2", false},
        {"virgl (Intel(R) UHD Graphics 620)", false},
        {"", false},
    };
    for (const Row& r : rows) EXPECT_EQ(isSoftwareRenderer(r.renderer), r.software) << r.renderer;
}

TEST(VideoOutputChoice, TheVariableForcesOnlyWithAKnownValue) {
    EXPECT_EQ(forcedVideoOutput("software"), VideoOutput::Software);
    EXPECT_EQ(forcedVideoOutput(" OpenGL\n"), VideoOutput::OpenGl);
    for (const char* unknown : {"", "auto", "vulkan", "soft"})
        EXPECT_EQ(forcedVideoOutput(unknown), std::nullopt) << unknown;
}

TEST(EngineLog, QuietUnlessAKnownLevelIsAskedFor) {
    EXPECT_EQ(engineLogLevel(""), "no");
    EXPECT_EQ(engineLogLevel("loud"), "no");
    EXPECT_EQ(engineLogLevel("no"), "no");
    EXPECT_EQ(engineLogLevel("WARN"), "warn");
    EXPECT_EQ(engineLogLevel(" v "), "v");
    EXPECT_EQ(engineLogLevel("trace"), "trace");
}

// A machine with nothing to take the sound plays silently; any one sound
// server, sound card or sound set-up is enough to leave the choice to the
// engine.
TEST(SoundOutputChoice, SilentOnlyWhereNothingCouldTakeTheSound) {
    const char* anyOne[] = {"run/user/1000/pulse/native",
                            "run/user/1000/pipewire-0",
                            "run/pulse/native",
                            "dev/shm/jack_default_1000_0",
                            "dev/snd/pcmC0D0p",
                            "dev/dsp",
                            "etc/asound.conf",
                            "home/someone/.asoundrc"};
    for (const char* place : anyOne) {
        QTemporaryDir root;
        // What every machine has, sound or not.
        for (const char* dir : {"run/user/1000", "dev/shm", "dev/snd", "etc/pulse", "home/someone"})
            ASSERT_TRUE(QDir(root.path()).mkpath(dir));
        QFile(root.filePath("dev/snd/controlC0")).open(QIODevice::WriteOnly);
        QFile(root.filePath("etc/pulse/client.conf")).open(QIODevice::WriteOnly);
        SoundPlaces places{root.path(), "/run/user/1000", "/home/someone", {}, {}};
        EXPECT_FALSE(soundCanBeHeard(places)) << place;

        ASSERT_TRUE(QDir(root.path()).mkpath(QFileInfo(root.filePath(place)).path()));
        ASSERT_TRUE(QFile(root.filePath(place)).open(QIODevice::WriteOnly));
        EXPECT_TRUE(soundCanBeHeard(places)) << place;
    }
    // A server named outright may be elsewhere; nothing need exist here.
    QTemporaryDir empty;
    EXPECT_TRUE(soundCanBeHeard({empty.path(), {}, {}, "tcp:speakers", {}}));
    EXPECT_TRUE(soundCanBeHeard({empty.path(), {}, {}, {}, "pipewire-1"}));
    EXPECT_FALSE(soundCanBeHeard({empty.path(), {}, {}, {}, {}}));
}

// PipeWire's output is tried only where a PipeWire server is there to take
// it; the order otherwise is the engine's own.
TEST(SoundOutputChoice, PipeWireOnlyWhereItsServerRuns) {
    QTemporaryDir root;
    const SoundPlaces places{root.path(), "/run/user/1000", {}, {}, {}};
    EXPECT_STREQ(soundOutputFor(places), "null");
    const auto add = [&](const char* place) {
        ASSERT_TRUE(QDir(root.path()).mkpath(QFileInfo(root.filePath(place)).path()));
        ASSERT_TRUE(QFile(root.filePath(place)).open(QIODevice::WriteOnly));
    };
    add("run/user/1000/pulse/native");
    EXPECT_STREQ(soundOutputFor(places), "pulse,alsa,jack");
    add("run/user/1000/pipewire-0");
    EXPECT_STREQ(soundOutputFor(places), "");
    EXPECT_STREQ(soundOutputFor({root.path(), {}, {}, {}, "pipewire-1"}), "");
}

}  // namespace
}  // namespace sorinel::platform
