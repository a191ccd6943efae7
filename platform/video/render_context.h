// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The engine's render context for one video window, freed by its owner's
// going: the engine calls back no more once it is gone. A window declares it
// after what freeing it needs (the OpenGL window's context), so that it goes
// first.

#include <functional>
#include <utility>

struct mpv_render_context;

namespace sorinel::platform {

class RenderContext {
public:
    // Frees the context where it was made.
    using Release = std::function<void(mpv_render_context*)>;

    RenderContext() = default;
    RenderContext(mpv_render_context* render, Release release) : render_(render), release_(std::move(release)) {}
    RenderContext(const RenderContext&) = delete;
    RenderContext& operator=(const RenderContext&) = delete;
    RenderContext& operator=(RenderContext&& other) noexcept {
        if (this != &other) {
            reset();
            render_ = std::exchange(other.render_, nullptr);
            release_ = std::move(other.release_);
        }
        return *this;
    }
    ~RenderContext() { reset(); }

    mpv_render_context* get() const { return render_; }
    void reset();

private:
    mpv_render_context* render_ = nullptr;
    Release release_;
};

}  // namespace sorinel::platform
