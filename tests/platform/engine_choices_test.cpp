// The choices made before the engine starts, from what the machine and the
// user say: which OpenGL renderers are the CPU's, and which values of the
// two environment variables count.
#include "platform/engine/engine_log.h"
#include "platform/video/video_output_choice.h"

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

}  // namespace
}  // namespace sorinel::platform
