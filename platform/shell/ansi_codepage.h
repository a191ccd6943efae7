// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 8-bit code page of the shell's records: CP932 (Japanese), converted
// with glibc's iconv.

#include <string>
#include <string_view>

namespace sorinel::platform {

// UTF-8 to CP932. A character that CP932 cannot hold, or a malformed UTF-8
// sequence, becomes '?', the way the other desktop's converter marks them.
std::string utf8ToAnsi(std::string_view utf8);

// CP932 to UTF-8. A byte sequence that is not valid CP932 becomes U+FFFD.
std::string ansiToUtf8(std::string_view ansi);

// True when byte is the first of a two-byte CP932 character.
bool isAnsiLeadByte(unsigned char byte);

}  // namespace sorinel::platform
