#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sorinel developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs, when missing, every Debian 12 or 13 package that building, running
# and testing the player needs. Safe to run again: it installs only what is
# absent.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ pkg-config ccache
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
  libmpv-dev libfluidsynth-dev libgtest-dev libasound2-dev
  libx11-dev libxss-dev
  # run
  libgl1-mesa-dri timgm6mb-soundfont fonts-ipafont-gothic qt6-translations-l10n
  # test media and a headless desktop for the window tests
  ffmpeg xvfb xauth xdotool trayer openbox imagemagick x11-utils
  # a private session bus for the screen saver and media-control tests
  # (dbus-run-session), and the desktop's media-control client
  dbus-daemon playerctl
  # the accessibility bus and a client that reads it, for the screen-reader test
  at-spi2-core python3-pyatspi
  # sound servers with a null sink, as on a desktop: PulseAudio (whose device
  # a test also takes away mid-file), and PipeWire headless with its session
  # manager and PulseAudio service (pw-cli makes its sink)
  pulseaudio pulseaudio-utils
  pipewire pipewire-bin wireplumber pipewire-pulse
  # a headless Wayland compositor and Qt's Wayland platform plugin
  weston qt6-wayland
  # the Debian package (dpkg-buildpackage with debhelper), lintian and the
  # checks of what it installs; reuse for the licence metadata
  build-essential dpkg-dev debhelper lintian file desktop-file-utils appstream man-db reuse
  # what the shared MIME database calls each kind of file (gio)
  libglib2.0-bin shared-mime-info
)

# Qt's OpenGL headers: a package of their own in Debian 12; from Debian 13 on
# part of qt6-base-dev, which provides the old name only as a virtual package
# that never shows as installed.
release=$(. /etc/os-release && echo "${VERSION_ID:-}")
[ -n "$release" ] && [ "${release%%.*}" -lt 13 ] && packages+=(libqt6opengl6-dev)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = installed ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
