#!/usr/bin/env bash
# Builds the Debian package: a Release build of the program and its icons in
# build-deb/ (or $SORINEL_DEB_BUILD_DIR), then CPack. Prints the package's path.
#
#   packaging/make-deb.sh
#   sudo apt install ./build-deb/sorinel_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${SORINEL_DEB_BUILD_DIR:-$root/build-deb}

"$root/scripts/setup.sh"
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
[ -f "$build/CMakeCache.txt" ] && generator=()  # a build tree keeps its generator
# Only what the package holds: neither the tests (GoogleTest and the tools
# they drive) nor the benchmarks are built or looked for.
cmake -S "$root" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release \
  -DSORINEL_BUILD_TESTS=OFF -DSORINEL_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)"
rm -f "$build"/sorinel_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/sorinel_*.deb
