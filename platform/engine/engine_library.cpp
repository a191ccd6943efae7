// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's library is opened when the player first needs it, once the
// window shows, not when the program starts: libmpv brings in some 230
// libraries (FFmpeg and its codecs, sound and video outputs), and the dynamic
// linker resolving them all before main() held the window back by about as
// much as the window itself costs. The program is not linked to libmpv; these
// stand in for the calls it makes, each finding the engine's own on first use.
// Without the library the engine cannot be made (mpv_create gives null), and
// the player stays empty as it would with an engine that failed to start.
#include <mpv/client.h>
#include <mpv/render.h>

#include "platform/engine/library_on_demand.h"

namespace {

void* engineLibrary() {
    static void* const library = sorinel::platform::openLibrary({"libmpv.so.2", "libmpv.so.1", "libmpv.so"});
    return library;
}

}  // namespace

// The engine's function of the same name, or `missing` where there is none.
#define SORINEL_ENGINE_CALL(missing, name, args) SORINEL_CALL_ON_DEMAND(engineLibrary(), missing, name, args)

extern "C" {

mpv_handle* mpv_create(void) { SORINEL_ENGINE_CALL(nullptr, mpv_create, ()); }
int mpv_initialize(mpv_handle* ctx) { SORINEL_ENGINE_CALL(MPV_ERROR_UNINITIALIZED, mpv_initialize, (ctx)); }
void mpv_terminate_destroy(mpv_handle* ctx) { SORINEL_ENGINE_CALL(, mpv_terminate_destroy, (ctx)); }
int mpv_set_option_string(mpv_handle* ctx, const char* name, const char* data) {
    SORINEL_ENGINE_CALL(MPV_ERROR_UNINITIALIZED, mpv_set_option_string, (ctx, name, data));
}
int mpv_request_log_messages(mpv_handle* ctx, const char* minLevel) {
    SORINEL_ENGINE_CALL(MPV_ERROR_UNINITIALIZED, mpv_request_log_messages, (ctx, minLevel));
}
int mpv_command(mpv_handle* ctx, const char** args) {
    SORINEL_ENGINE_CALL(MPV_ERROR_UNINITIALIZED, mpv_command, (ctx, args));
}
int mpv_command_ret(mpv_handle* ctx, const char** args, mpv_node* result) {
    SORINEL_ENGINE_CALL(MPV_ERROR_UNINITIALIZED, mpv_command_ret, (ctx, args, result));
}
void mpv_free_node_contents(mpv_node* node) { SORINEL_ENGINE_CALL(, mpv_free_node_contents, (node)); }
int mpv_set_property(mpv_handle* ctx, const char* name, mpv_format format, void* data) {
    SORINEL_ENGINE_CALL(MPV_ERROR_UNINITIALIZED, mpv_set_property, (ctx, name, format, data));
}
int mpv_set_property_string(mpv_handle* ctx, const char* name, const char* data) {
    SORINEL_ENGINE_CALL(MPV_ERROR_UNINITIALIZED, mpv_set_property_string, (ctx, name, data));
}
int mpv_get_property(mpv_handle* ctx, const char* name, mpv_format format, void* data) {
    SORINEL_ENGINE_CALL(MPV_ERROR_UNINITIALIZED, mpv_get_property, (ctx, name, format, data));
}
int mpv_observe_property(mpv_handle* mpv, uint64_t userdata, const char* name, mpv_format format) {
    SORINEL_ENGINE_CALL(MPV_ERROR_UNINITIALIZED, mpv_observe_property, (mpv, userdata, name, format));
}
mpv_event* mpv_wait_event(mpv_handle* ctx, double timeout) {
    static mpv_event none{};
    SORINEL_ENGINE_CALL(&none, mpv_wait_event, (ctx, timeout));
}
void mpv_set_wakeup_callback(mpv_handle* ctx, void (*cb)(void*), void* d) {
    SORINEL_ENGINE_CALL(, mpv_set_wakeup_callback, (ctx, cb, d));
}

int mpv_render_context_create(mpv_render_context** res, mpv_handle* mpv, mpv_render_param* params) {
    SORINEL_ENGINE_CALL(MPV_ERROR_UNINITIALIZED, mpv_render_context_create, (res, mpv, params));
}
void mpv_render_context_set_update_callback(mpv_render_context* ctx, mpv_render_update_fn callback, void* callbackCtx) {
    SORINEL_ENGINE_CALL(, mpv_render_context_set_update_callback, (ctx, callback, callbackCtx));
}
uint64_t mpv_render_context_update(mpv_render_context* ctx) {
    SORINEL_ENGINE_CALL(0, mpv_render_context_update, (ctx));
}
int mpv_render_context_render(mpv_render_context* ctx, mpv_render_param* params) {
    SORINEL_ENGINE_CALL(MPV_ERROR_UNINITIALIZED, mpv_render_context_render, (ctx, params));
}
void mpv_render_context_free(mpv_render_context* ctx) { SORINEL_ENGINE_CALL(, mpv_render_context_free, (ctx)); }

}  // extern "C"
