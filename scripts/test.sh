#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sorinel developers
# SPDX-License-Identifier: GPL-3.0-or-later
# One command from a fresh Debian 12 machine to a passing test run:
# installs what is missing, builds, generates the test media and runs ctest.
# Window tests start their own Xvfb through xvfb-run, so no display is needed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
build=${SORINEL_BUILD_DIR:-$root/build}
ctest --test-dir "$build" --output-on-failure --timeout 600 --parallel "$(nproc)" "$@"
