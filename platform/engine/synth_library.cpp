// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// libfluidsynth is opened when the first MIDI file is rendered, not when the
// program starts: it brings in some 40 libraries of its own (sound drivers,
// sound file formats) that the dynamic linker would otherwise resolve
// before the window shows, for files most evenings never play. Without the
// library no synthesiser can be made, and a MIDI file fails to load as it
// does without a sound font.
#include <fluidsynth.h>

#include "platform/engine/library_on_demand.h"

namespace {

void* synthLibrary() {
    static void* const library = sorinel::platform::openLibrary({"libfluidsynth.so.3", "libfluidsynth.so"});
    return library;
}

}  // namespace

#define SORINEL_SYNTH_CALL(missing, name, args) SORINEL_CALL_ON_DEMAND(synthLibrary(), missing, name, args)

extern "C" {

fluid_log_function_t fluid_set_log_function(int level, fluid_log_function_t fun, void* data) {
    SORINEL_SYNTH_CALL(nullptr, fluid_set_log_function, (level, fun, data));
}
fluid_settings_t* new_fluid_settings(void) { SORINEL_SYNTH_CALL(nullptr, new_fluid_settings, ()); }
void delete_fluid_settings(fluid_settings_t* settings) { SORINEL_SYNTH_CALL(, delete_fluid_settings, (settings)); }
int fluid_settings_setstr(fluid_settings_t* settings, const char* name, const char* str) {
    SORINEL_SYNTH_CALL(FLUID_FAILED, fluid_settings_setstr, (settings, name, str));
}
int fluid_settings_setnum(fluid_settings_t* settings, const char* name, double val) {
    SORINEL_SYNTH_CALL(FLUID_FAILED, fluid_settings_setnum, (settings, name, val));
}
int fluid_settings_setint(fluid_settings_t* settings, const char* name, int val) {
    SORINEL_SYNTH_CALL(FLUID_FAILED, fluid_settings_setint, (settings, name, val));
}
fluid_synth_t* new_fluid_synth(fluid_settings_t* settings) { SORINEL_SYNTH_CALL(nullptr, new_fluid_synth, (settings)); }
void delete_fluid_synth(fluid_synth_t* synth) { SORINEL_SYNTH_CALL(, delete_fluid_synth, (synth)); }
int fluid_synth_sfload(fluid_synth_t* synth, const char* filename, int resetPresets) {
    SORINEL_SYNTH_CALL(FLUID_FAILED, fluid_synth_sfload, (synth, filename, resetPresets));
}
int fluid_synth_handle_midi_event(void* data, fluid_midi_event_t* event) {
    SORINEL_SYNTH_CALL(FLUID_FAILED, fluid_synth_handle_midi_event, (data, event));
}
int fluid_synth_write_s16(fluid_synth_t* synth, int len, void* lout, int loff, int lincr, void* rout, int roff,
                          int rincr) {
    SORINEL_SYNTH_CALL(FLUID_FAILED, fluid_synth_write_s16, (synth, len, lout, loff, lincr, rout, roff, rincr));
}
fluid_player_t* new_fluid_player(fluid_synth_t* synth) { SORINEL_SYNTH_CALL(nullptr, new_fluid_player, (synth)); }
void delete_fluid_player(fluid_player_t* player) { SORINEL_SYNTH_CALL(, delete_fluid_player, (player)); }
int fluid_player_add_mem(fluid_player_t* player, const void* buffer, size_t len) {
    SORINEL_SYNTH_CALL(FLUID_FAILED, fluid_player_add_mem, (player, buffer, len));
}
int fluid_player_play(fluid_player_t* player) { SORINEL_SYNTH_CALL(FLUID_FAILED, fluid_player_play, (player)); }
int fluid_player_get_status(fluid_player_t* player) {
    SORINEL_SYNTH_CALL(FLUID_PLAYER_DONE, fluid_player_get_status, (player));
}
int fluid_player_set_playback_callback(fluid_player_t* player, handle_midi_event_func_t handler, void* data) {
    SORINEL_SYNTH_CALL(FLUID_FAILED, fluid_player_set_playback_callback, (player, handler, data));
}

}  // extern "C"
