// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/shell/ansi_codepage.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace sorinel::platform {
namespace {

constexpr const char* kAnsiCodePage = "CP932";

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("iconv cannot convert between UTF-8 and CP932");
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts all of in; at each sequence iconv rejects, skips skipLength(rest)
    // bytes of the input and appends replacement.
    template <typename SkipLength>
    std::string convert(std::string_view in, std::string_view replacement, SkipLength skipLength) {
        std::string out;
        char buffer[256];
        char* inPtr = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        while (inLeft > 0) {
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t rc = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer, outPtr);
            if (rc != static_cast<std::size_t>(-1)) continue;
            if (errno == E2BIG) continue;
            // EILSEQ or EINVAL (a sequence cut off at the end of the input).
            const std::size_t skip = std::min(inLeft, skipLength(std::string_view(inPtr, inLeft)));
            inPtr += skip;
            inLeft -= skip;
            out.append(replacement);
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

private:
    iconv_t cd_;
};

std::size_t utf8SequenceLength(std::string_view rest) {
    const auto lead = static_cast<unsigned char>(rest.front());
    std::size_t length = 1;
    if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    else if (lead >= 0xE0)
        length = 3;
    else if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    // Never skip past a byte that cannot continue the sequence.
    for (std::size_t k = 1; k < length; ++k) {
        if (k >= rest.size() || (static_cast<unsigned char>(rest[k]) & 0xC0) != 0x80) return k;
    }
    return length;
}

}  // namespace

bool isAnsiLeadByte(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

std::string utf8ToAnsi(std::string_view utf8) {
    Converter converter(kAnsiCodePage, "UTF-8");
    return converter.convert(utf8, "?", utf8SequenceLength);
}

std::string ansiToUtf8(std::string_view ansi) {
    Converter converter("UTF-8", kAnsiCodePage);
    return converter.convert(ansi, "\xEF\xBF\xBD", [](std::string_view) -> std::size_t {
        // A lead byte whose trail byte is not valid: drop only the lead byte,
        // so an ASCII character after it survives.
        return 1;
    });
}

}  // namespace sorinel::platform
