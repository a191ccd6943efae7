// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The process's resident memory as the kernel counts it.

#include <fstream>
#include <sstream>
#include <string>

namespace sorinel::testing {

// VmRSS from /proc/self/status in KiB, 0 when it cannot be read.
inline long residentMemoryKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            std::istringstream fields(line.substr(6));
            long kib = 0;
            fields >> kib;
            return kib;
        }
    }
    return 0;
}

}  // namespace sorinel::testing
