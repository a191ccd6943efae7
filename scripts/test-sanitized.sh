#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sorinel developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program and its tests with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-asan/ (or $SORINEL_ASAN_BUILD_DIR)
# and runs the test suite there. Extra arguments go to ctest.
#
# To keep CI within its time, four real-time parts are left out here (they
# run in the plain suite): the soak runs of tests/soak (named, as the
# bad-input run that stays here carries the soak label too), the whole-folder
# play-through (its path runs here through the bad-input folder rows), the
# seconds-box play-throughs (their texts go through the same code as the
# typing rows) and the faults from outside (their files end through the same
# code as a broken file's).
# The benchmarks are not built here (their figures come from a Release
# build), nor is the Debian package checked (dpkg-buildpackage builds it
# without the sanitizers; the plain suite checks it). SORINEL_SANITIZE_FULL=1 runs everything. Tests that are not marked
# RUN_SERIAL run two at a time; each window test has its own X server.
# Leak detection stays on; leaks that belong to the graphics stack, mpv,
# fontconfig and the like are suppressed by tests/sanitizer/lsan.supp.
# --build-only builds and stops (CI builds while another suite runs).
set -euo pipefail
build_only=0
if [ "${1:-}" = --build-only ]; then build_only=1; shift; fi
root=$(cd "$(dirname "$0")/.." && pwd)
build=${SORINEL_ASAN_BUILD_DIR:-$root/build-asan}

generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Debug -DSORINEL_SANITIZE=ON -DSORINEL_BUILD_BENCH=OFF
fi
cmake --build "$build" --parallel "$(nproc)"
[ "$build_only" = 1 ] && exit 0

# Programs started by the tests (xvfb-run, ffmpeg) are not instrumented; the
# options only matter to ours. mpv and mesa load plugins with dlopen and
# unload them at exit, which ASan reports as odr/alloc-dealloc noise unless
# told otherwise.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1:detect_stack_use_after_return=0:strict_string_checks=0:check_initialization_order=1:detect_odr_violation=0:alloc_dealloc_mismatch=0"
export LSAN_OPTIONS="suppressions=$root/tests/sanitizer/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:suppressions=$root/tests/sanitizer/ubsan.supp"

if [ "${SORINEL_SANITIZE_FULL:-0}" = 1 ]; then
  ctest --test-dir "$build" --output-on-failure --timeout 3600 "$@"
else
  GTEST_FILTER='-Texts/SecondsBox.*' \
    ctest --test-dir "$build" --output-on-failure --timeout 900 -j2 \
    -E '^(soak_test|evening_test|real_interleaving_test|generate_soak_media|auto_advance_test(_pulse|_pipewire)?|file_to_file_sound_server_test|outside_faults_test|packaging_.*)$' "$@"
fi
