// SPDX-FileCopyrightText: 2026 The Sorinel developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The owner of the tests' shared precompiled headers (tests/CMakeLists.txt).
