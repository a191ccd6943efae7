#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sorinel developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a test program of the sanitizer build. LeakSanitizer's stop-the-world
# tracer now and then crashes at exit ("Tracer caught signal 11") while the
# GL driver's or the sound server's threads are ending: the test itself has
# passed and no leak was found, the check simply could not run. Such a run is
# repeated once. Every other failure, and a crash on the repeat, stands.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$@" > >(tee "$out") 2>&1
rc=$?
wait
if [ "$rc" -ne 0 ] && grep -q 'Tracer caught signal' "$out" &&
   ! grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer: detected)|runtime error:|\[  FAILED  \]' "$out"; then
  echo "LeakSanitizer's tracer crashed at exit; running the test once more" >&2
  "$@"
  rc=$?
fi
exit "$rc"
