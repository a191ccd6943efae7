// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/video/render_context.h"

#include <mpv/render.h>

namespace sorinel::platform {

void RenderContext::reset() {
    if (!render_) return;
    // From here the engine no longer calls back into the window.
    mpv_render_context_set_update_callback(render_, nullptr, nullptr);
    release_(std::exchange(render_, nullptr));
}

}  // namespace sorinel::platform
