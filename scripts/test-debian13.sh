#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sorinel developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the README's test command (scripts/test.sh) inside a Debian 13 root,
# to hold the player to the Qt, libmpv, FFmpeg, AppStream and ImageMagick
# that distributions ship today. Run as root (it makes a chroot).
#
# The root is made once with mmdebstrap from Debian's own registry and kept
# in $SORINEL_DEBIAN13_ROOT (default /var/cache/sorinel/debian13), packages
# included; SORINEL_DEBIAN13_FRESH=1 makes it anew. Each run copies the
# working tree in (without build trees) and builds it in a fresh build tree
# inside, without the benchmarks (they have no tests; their figures come from
# a Release build on the machine itself). Extra arguments go to ctest, as
# with scripts/test.sh.
#
# The run has three steps, which CI starts at different times:
#   --prepare  makes the root and installs its packages (it waits on the
#              network rather than the processor);
#   --build    also copies the source in and builds it;
#   --suite    runs the test command on what the last --build copied;
# without one of them it does all three. A step started while another one
# runs waits for it.
set -euo pipefail

# The whole script is read before it starts (a function called on the last
# line), so that editing the work tree during a run cannot change the run.
main() {
  src=$(cd "$(dirname "$0")/.." && pwd)
  root=${SORINEL_DEBIAN13_ROOT:-/var/cache/sorinel/debian13}
  mirror=${SORINEL_DEBIAN_MIRROR:-http://deb.debian.org/debian}

  if [ "$(id -u)" -ne 0 ]; then
    exec sudo --preserve-env=SORINEL_DEBIAN13_ROOT,SORINEL_DEBIAN13_FRESH,SORINEL_DEBIAN_MIRROR "$0" "$@"
  fi
  steps=prepare,build,suite
  case "${1:-}" in
    --prepare) steps=prepare; shift ;;
    --build) steps=prepare,build; shift ;;
    --suite) steps=prepare,suite; shift ;;
  esac
  wants() { case ",$steps," in *",$1,"*) return 0 ;; *) return 1 ;; esac; }
  if ! command -v mmdebstrap >/dev/null; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq mmdebstrap
  fi

  stamp() { echo "== $(date -u +%H:%M:%S) $*"; }
  SECONDS=0

  # One run at a time per root: each replaces the source copy inside.
  mkdir -p "$(dirname "$root")"
  exec 9>"$root.lock"
  flock 9

  # Mounts left by a run that was killed outright come off first, so that
  # nothing below reaches through them into the machine's own /dev or /proc.
  unmount_below() {
    local point
    awk -v r="$root/" 'index($2, r) == 1 { print $2 }' /proc/self/mounts | sort -r |
      while read -r point; do umount -l "$point" || true; done
  }
  unmount_below

  # A root is only kept once it was made completely: an interrupted run leaves
  # no marker and the next one starts over.
  if [ "${SORINEL_DEBIAN13_FRESH:-0}" = 1 ] || [ ! -e "$root/.sorinel-root-complete" ]; then
    stamp "making the Debian 13 root in $root"
    rm -rf --one-file-system "$root"
    mmdebstrap --quiet --variant=apt trixie "$root" "$mirror"
    touch "$root/.sorinel-root-complete"
    stamp "root made in ${SECONDS}s"
  fi

  # Everything mounted below comes off again however the run ends; lazily, so
  # that a process still holding a mount point cannot keep the root pinned.
  trap unmount_below EXIT
  trap 'exit 130' INT TERM HUP
  # Private mounts: where the machine's mounts are shared (systemd's default),
  # the tmpfs put on the root's /dev/shm would otherwise appear on the
  # machine's own /dev/shm as well, and the unmounting below travel back too.
  bind() {
    mkdir -p "$root$1"
    mount --bind "$1" "$root$1"
    mount --make-private "$root$1"
  }
  bind /proc
  bind /sys
  bind /dev
  bind /dev/pts
  # Xvfb, Qt and the engine share pictures through POSIX shared memory.
  mkdir -p "$root/dev/shm"
  mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
  cp -L /etc/resolv.conf "$root/etc/resolv.conf"

  # A clean environment: nothing of the caller's display, bus or build
  # settings reaches the tests.
  clean_env=(env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
    HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" CCACHE_DIR=/var/cache/ccache)
  in_root() { "${clean_env[@]}" chroot "$root" "$@"; }

  # Packages first, with the network (scripts/setup.sh installs only what is
  # missing, so a kept root only fetches what the list gained). The set-up
  # script comes from the working tree, as the rest of the source will.
  stamp "packages"
  cp "$src/scripts/setup.sh" "$root/root/sorinel-setup.sh"
  in_root /root/sorinel-setup.sh
  # The compiler's cache lives in the kept root, so that a later run over
  # mostly the same source compiles only what changed.
  if ! in_root dpkg-query -W -f='${db:Status-Status}' ccache 2>/dev/null | grep -qx installed; then
    in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends ccache
  fi
  stamp "root and packages ready in ${SECONDS}s"

  if wants build; then
    # The source as it stands in the working tree, without build trees.
    stamp "copying the source in"
    rm -rf --one-file-system "$root/root/sorinel"
    mkdir -p "$root/root/sorinel"
    tar -C "$src" --exclude='./build*' --exclude='./samples' --exclude='./.git' -cf - . |
      tar -C "$root/root/sorinel" -xf -
    stamp "build"
    in_root /bin/sh -c 'cd /root/sorinel && scripts/build.sh -DSORINEL_BUILD_BENCH=OFF \
      -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache'
    stamp "built in ${SECONDS}s"
  fi
  wants suite || return 0
  if [ ! -f "$root/root/sorinel/build/CMakeCache.txt" ]; then
    echo "no build in $root/root/sorinel: run $0 --build first" >&2
    return 1
  fi

  # The README's test command (its set-up and build steps find nothing left to
  # do). It runs in a network namespace of its own: abstract X11 and D-Bus
  # sockets are per namespace, so the root's Xvfb servers can neither clash
  # with nor talk to those of the machine outside the chroot, whose display
  # locks the root's /tmp does not see.
  stamp "suite"
  status=0
  unshare --net sh -c 'ip link set lo up && exec "$@"' sh \
    "${clean_env[@]}" chroot "$root" /bin/sh -c 'cd /root/sorinel && exec scripts/test.sh "$@"' sh "$@" ||
    status=$?
  stamp "done in ${SECONDS}s (status $status)"
  return "$status"
}

main "$@"; exit
