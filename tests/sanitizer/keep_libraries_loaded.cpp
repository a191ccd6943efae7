// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Linked into the programs of the sanitizer build only. Libraries that mpv,
// the GL driver and the sound stack load for themselves are unloaded again
// before the leak check runs; their leaks then show without a library name,
// and no suppression can tell them from ours. Keeping every library loaded
// lets tests/sanitizer/lsan.supp name them. The executable's definition
// wins over the C library's for every shared library in the process.
#include <dlfcn.h>

extern "C" int dlclose(void*) noexcept { return 0; }
