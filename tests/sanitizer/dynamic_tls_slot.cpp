// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A library with thread-local storage of its own: opened at run time, each
// thread's block for it is allocated with malloc on the thread's first use.
thread_local long slot;
extern "C" long* slotAddress() { return &slot; }
