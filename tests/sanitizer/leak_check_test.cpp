// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The leak check runs to its end whatever the heap looks like, and still finds
// a real leak. A library's dynamic TLS block that malloc places 16 bytes into a
// page used to stop the check with a crash of its own.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sanitizer/lsan_interface.h>

#include <cstdint>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

bool sixteenBytesIntoAPage(const void* p) { return reinterpret_cast<std::uintptr_t>(p) % 4096 == 16; }

TEST(LeakCheck, RunsThroughADynamicTlsBlockAtTheStartOfAPageAndStillFindsALeak) {
    void* library = dlopen(DYNAMIC_TLS_SLOT, RTLD_NOW);
    ASSERT_NE(library, nullptr) << dlerror();
    const auto slotAddress = reinterpret_cast<long* (*)()>(dlsym(library, "slotAddress"));
    ASSERT_NE(slotAddress, nullptr);

    // Each new thread gets its own block. Small allocations come one after
    // another from the thread's cache: stop one short of a page's start, and
    // the block takes the next place.
    bool checked = false;
    for (int attempt = 0; attempt < 100 && !checked; ++attempt) {
        std::thread([&] {
            std::vector<void*> before;
            for (int i = 0; i < 1024; ++i) {
                before.push_back(std::malloc(sizeof(long)));
                if (sixteenBytesIntoAPage(static_cast<char*>(before.back()) + 32)) break;
            }
            if (sixteenBytesIntoAPage(slotAddress())) {
                checked = true;
                EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0);  // a crash here ends the test

                // Hidden from the check, the pointer is a leak for as long as it stays
                // hidden (the report this prints is expected).
                auto hidden = ~reinterpret_cast<std::uintptr_t>(std::malloc(64));
                EXPECT_NE(__lsan_do_recoverable_leak_check(), 0);
                std::free(reinterpret_cast<void*>(~hidden));
                hidden = 0;
            }
            for (void* p : before) std::free(p);
        }).join();
    }
    EXPECT_TRUE(checked) << "no thread's block fell 16 bytes into a page";
}

}  // namespace
