#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sorinel developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Sorinel (installing what is missing) and starts it in FOLDER, or,
# without one, in a folder of generated sample clips.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
folder=${1:-}
if [ -z "$folder" ]; then
  folder="$root/samples"
  "$root/scripts/gen-media.sh" "$folder" 6
fi
cd "$folder"
exec "${SORINEL_BUILD_DIR:-$root/build}/app/sorinel"
