// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Libraries opened once needed: the first name that opens wins, and a call
// into a library (or a function) that is not there gives the stated value
// instead of jumping through a null pointer.
#include "platform/engine/library_on_demand.h"

#include <cstring>

#include <gtest/gtest.h>

namespace {

void* cLibrary() { return sorinel::platform::openLibrary({"libsorinel-missing.so.9", "libc.so.6"}); }
void* missingLibrary() { return sorinel::platform::openLibrary({"libsorinel-missing.so.9"}); }

// Stand-ins as the engine's and the synthesiser's files define them, under
// other names so as not to replace the real function in this program.
size_t lengthOnDemand(const char* text) { SORINEL_CALL_ON_DEMAND(cLibrary(), 99, strlen, (text)); }
size_t lengthFromMissingLibrary(const char* text) { SORINEL_CALL_ON_DEMAND(missingLibrary(), 99, strlen, (text)); }

TEST(LibraryOnDemand, CallsTheLibrarysFunctionOrGivesTheFallback) {
    EXPECT_NE(cLibrary(), nullptr);
    EXPECT_EQ(missingLibrary(), nullptr);
    EXPECT_EQ(lengthOnDemand("four"), 4u);
    EXPECT_EQ(lengthFromMissingLibrary("four"), 99u);
    EXPECT_EQ(sorinel::platform::libraryFunction<void()>(cLibrary(), "sorinel_no_such_function"), nullptr);
}

}  // namespace
