// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Linked into the programs of the sanitizer build only: the leak check's
// settings, wherever the program is started from (ctest, a shell, a test
// that starts the player).
//
// Thread-local storage is not scanned for pointers. The leak check of GCC 12
// takes a library's dynamic TLS block that malloc placed 16 bytes into a page
// for a block of an old C library with a header in front, reads that header
// out of the allocator's own chunk header and scans from a wild address: the
// check then dies ("Tracer caught signal 11") after a test has passed. Where
// the block lands depends only on the order of earlier allocations, so one
// machine meets it on every run and another never. Leaving TLS out can only
// add reports (an object kept only by a thread_local pointer), never hide one.
extern "C" const char* __lsan_default_options() { return "use_tls=0"; }
