// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A shared library opened when first needed rather than when the program
// starts, for the few calls the program makes into it. The program is not
// linked to such a library: a source file defines each of its functions the
// program uses with SORINEL_CALL_ON_DEMAND, which finds the library's own
// on the first call. Where the library is missing, each call gives `missing`.

#include <dlfcn.h>

#include <initializer_list>

namespace sorinel::platform {

// The first of `names` that opens; null when none does.
inline void* openLibrary(std::initializer_list<const char*> names) {
    for (const char* name : names)
        if (void* found = dlopen(name, RTLD_LAZY | RTLD_LOCAL)) return found;
    return nullptr;
}

template <typename Function>
Function* libraryFunction(void* library, const char* name) {
    return library ? reinterpret_cast<Function*>(dlsym(library, name)) : nullptr;
}

}  // namespace sorinel::platform

// The body of `name`: the library's function of that name called with
// `args`, or `missing` returned. `library` is an expression giving the
// library's handle.
#define SORINEL_CALL_ON_DEMAND(library, missing, name, args)                                        \
    static auto* const real = ::sorinel::platform::libraryFunction<decltype(name)>(library, #name); \
    if (!real) return missing;                                                                      \
    return real args
