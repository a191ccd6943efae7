#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sorinel developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from the source package in debian/ with
# dpkg-buildpackage, in a copy of the source tree under build-deb/ (or
# $SORINEL_DEB_BUILD_DIR), so that the working tree stays clean. The package,
# its .changes and .buildinfo land there. Installs the build dependencies
# when some are missing. Prints the package's path.
#
#   packaging/make-deb.sh
#   sudo apt install ./build-deb/sorinel_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${SORINEL_DEB_BUILD_DIR:-$root/build-deb}

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive
if ! command -v dpkg-checkbuilddeps >/dev/null; then
  $sudo apt-get install -y -qq --no-install-recommends dpkg-dev
fi
if ! (cd "$root" && dpkg-checkbuilddeps 2>/dev/null); then
  $sudo apt-get update -qq
  $sudo apt-get build-dep -y -qq "$root"
fi

version=$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)
# Always the same path, so that a compiler cache finds the last build's
# objects: dpkg-buildpackage starts from a clean tree every time.
source=$out/sorinel-${version%-*}
rm -rf "$source"
mkdir -p "$source"
tar -C "$root" --exclude='./build*' --exclude='./obj-*' --exclude='./samples' --exclude='./.git' \
  --exclude='./debian/sorinel' --exclude='./debian/.debhelper' --exclude='./debian/files' \
  --exclude='./debian/*.substvars' --exclude='./debian/debhelper-build-stamp' -cf - . |
  tar -C "$source" -xf -
rm -f "$out"/sorinel_*
log=$out/dpkg-buildpackage.log
if ! (cd "$source" && dpkg-buildpackage --no-sign -b -jauto >"$log" 2>&1); then
  tail -n 50 "$log" >&2
  echo "$0: dpkg-buildpackage failed; the whole log is $log" >&2
  exit 1
fi
ls "$out"/sorinel_"$version"_*.deb
