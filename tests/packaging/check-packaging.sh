#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Sorinel developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the Debian package as packaging/make-deb.sh builds it from debian/,
# unpacked the way dpkg would lay it out on a person's Debian desktop.
#
#   check-packaging.sh deb      SOURCE OUT STAGE  build the package into OUT (packaging/make-deb.sh)
#                                                 and unpack it into STAGE (STAGE/DEBIAN the control files)
#   check-packaging.sh lintian  OUT               lintian finds no error and no warning in the package
#   check-packaging.sh control  STAGE VERSION     the package's version is the project's, and it
#                                                 depends on what the program opens at run time
#   check-packaging.sh layout   STAGE             exactly the expected files, nothing else
#   check-packaging.sh desktop  STAGE             the desktop entry is valid and launches
#   check-packaging.sh metainfo STAGE VERSION     the AppStream file is valid and current
#   check-packaging.sh icons    STAGE             each hicolor icon has its stated size and look
#   check-packaging.sh docs     STAGE VERSION     the manual page renders cleanly, the change log is current
#   check-packaging.sh mimetypes STAGE MEDIA_DIR  the desktop entry and the metainfo name the type
#                                                 the MIME database gives each file in MEDIA_DIR,
#                                                 and the manual page its extension
#   check-packaging.sh mimetypes-selftest STAGE MEDIA_DIR
#                                                 the MIME check fails on a broken tree
#   check-packaging.sh wmclass  STAGE             the installed program's window has the class
#                                                 the desktop entry names (needs a display)
#   check-packaging.sh appid    STAGE RUNNER      under a Wayland compositor (RUNNER runs a command
#                                                 in one) the window's app id names the desktop entry
#   check-packaging.sh options  SOURCE            a package build (tests and benchmarks off)
#                                                 configures without GoogleTest or a test tool
#   check-packaging.sh selftest STAGE VERSION DRAW_ICON
#                                                 each check above fails on a broken tree
#
# Each check prints what is wrong and exits non-zero at the first fault.
set -euo pipefail

APP_ID=io.github.sorinel.sorinel
ICON_SIZES=(16 22 24 32 48 64 128 256)

fail() { echo "FAIL: $*" >&2; return 1; }

# Runs a validator and shows its report only when it rejects.
quietly() {
  local report
  report=$("$@" 2>&1) && return 0
  echo "$report" >&2
  return 1
}

# The value of KEY in the [Desktop Entry] group (unlocalised key only).
desktop_value() {
  awk -F= -v key="$2" '
    /^\[/ { in_entry = ($0 == "[Desktop Entry]") }
    in_entry && $1 == key { sub(/^[^=]*=/, ""); print; exit }' "$1"
}

check_deb() {
  local source=$1 out=$2 stage=$3 deb
  # Niced: the suite's clips play in real time beside it.
  deb=$(SORINEL_DEB_BUILD_DIR=$out nice -n 19 "$source/packaging/make-deb.sh" | tail -n 1) ||
    fail "packaging/make-deb.sh failed" || return
  rm -rf "$stage"
  dpkg-deb -R "$deb" "$stage"
}

check_lintian() {
  local out=$1 changes report
  changes=$(ls "$out"/sorinel_*.changes 2>/dev/null | head -n 1)
  [ -n "$changes" ] || fail "no .changes in $out" || return
  report=$(lintian --fail-on error,warning "$changes" 2>&1) && return 0
  echo "$report" >&2
  fail "lintian finds errors or warnings in $changes"
}

# The program opens libmpv and libfluidsynth itself, once needed, so
# dpkg-shlibdeps cannot see them: the package must name a package that holds
# one of the library names the program tries.
check_control() {
  local stage=$1 version=$2
  local program=$stage/usr/bin/sorinel control=$stage/DEBIAN/control
  [ -f "$control" ] || fail "no control file at $control" || return
  local packaged
  packaged=$(sed -n 's/^Version: //p' "$control")
  [ "${packaged%-*}" = "$version" ] ||
    fail "the package's version is '$packaged', the project is at '$version'" || return
  if readelf -d "$program" | grep -E 'NEEDED.*lib(mpv|fluidsynth)' >&2; then
    fail "the program links a library it should open only once needed"
    return
  fi
  local depends library soname owner owners
  depends=$(sed -n 's/^Depends: //p' "$control")
  for library in libmpv libfluidsynth; do
    owners=""
    for soname in $(grep -aoE "$library\.so\.[0-9]+" "$program" | sort -u); do
      owner=$(dpkg -S "*/$soname" 2>/dev/null | head -n 1 | cut -d: -f1) || true
      [ -z "$owner" ] || owners+=" $owner"
    done
    [ -n "$owners" ] || fail "no installed package holds a $library the program opens" || return
    for owner in $owners; do
      [[ ", $depends," == *", $owner,"* ]] && continue 2
    done
    fail "the package depends on none of$owners, which hold the $library the program opens" || return
  done
}

check_layout() {
  local usr=$1/usr
  local expected=(
    bin/sorinel
    share/applications/$APP_ID.desktop
    "share/metainfo/$APP_ID.metainfo.xml"
    share/man/man1/sorinel.1.gz
    share/doc/sorinel/changelog.Debian.gz
    share/doc/sorinel/copyright
    share/lintian/overrides/sorinel
  )
  local size
  for size in "${ICON_SIZES[@]}"; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/sorinel.png")
  done
  [ -d "$usr" ] || fail "nothing installed under $usr" || return
  # Anything beyond the list (a static library, a test program, a header)
  # would end up in the package too.
  local want got
  want=$(printf '%s\n' "${expected[@]}" | sort)
  got=$(cd "$usr" && find . -type f -o -type l | sed 's|^\./||' | sort)
  if [ "$want" != "$got" ]; then
    diff <(echo "$want") <(echo "$got") | sed -n 's/^</missing:   /p; s/^>/unexpected:/p' >&2
    fail "installed files differ from the expected layout"
    return
  fi
  [ -x "$usr/bin/sorinel" ] || fail "bin/sorinel is not executable"
}

check_desktop() {
  local usr=$1/usr
  local file=$usr/share/applications/$APP_ID.desktop
  [ -f "$file" ] || fail "no desktop entry at $file" || return
  quietly desktop-file-validate "$file" || fail "desktop-file-validate rejects $file" || return

  local exec try icon wmclass
  exec=$(desktop_value "$file" Exec)
  try=$(desktop_value "$file" TryExec)
  icon=$(desktop_value "$file" Icon)
  wmclass=$(desktop_value "$file" StartupWMClass)
  # A file manager hands over the one file a person opened, as a local path:
  # the program takes one file or folder and nothing else (no URLs, no lists).
  [ "$exec" = "sorinel %f" ] || fail "Exec is '$exec', not 'sorinel %f'" || return
  [ -z "$try" ] || [ -x "$usr/bin/$try" ] || fail "TryExec '$try' is not an installed program" || return
  [ -f "$usr/share/icons/hicolor/48x48/apps/$icon.png" ] ||
    fail "Icon '$icon' has no installed hicolor icon" || return
  # Qt's xcb plugin takes the window class from the application name.
  [ "$wmclass" = Sorinel ] || fail "StartupWMClass is '$wmclass', not the window class Sorinel" || return
  grep -q '^Name\[ja\]=.' "$file" || fail "no Japanese Name" || return
  grep -q '^Comment\[ja\]=.' "$file" || fail "no Japanese Comment"
}

# The metainfo names its developer both ways: <developer> for AppStream 1.0,
# which deprecates <developer_name>, and <developer_name> for AppStream 0.16
# (Debian 12), which knows nothing else. Each validator is shown the form of
# its own release: a copy of the tree without the other form.
developer_form_for_validator() {
  local version
  version=$(appstreamcli --version | sed -n 's/^AppStream[^0-9]*\([0-9][0-9.]*\).*/\1/p' | head -n 1)
  if [ "${version%%.*}" -ge 1 ] 2>/dev/null; then
    sed -i '/<!-- AppStream 1.0 reads/,/-->/d; /<developer_name>/d' "$1"
  else
    sed -i '/<!-- AppStream 1.0 reads/,/-->/d; /<developer[ >]/,/<\/developer>/d' "$1"
  fi
}

check_metainfo() {
  local stage=$1 version=$2
  local file=$stage/usr/share/metainfo/$APP_ID.metainfo.xml
  [ -f "$file" ] || fail "no metainfo at $file" || return
  # Both forms name the same developer.
  local old new
  old=$(sed -n 's|.*<developer_name>\(.*\)</developer_name>.*|\1|p' "$file")
  new=$(sed -n '/<developer[ >]/,/<\/developer>/s|.*<name>\(.*\)</name>.*|\1|p' "$file")
  [ -n "$new" ] || fail "no <developer> with a <name>" || return
  [ "$old" = "$new" ] || fail "<developer_name> '$old' differs from <developer> '$new'" || return

  local copy
  copy=$(mktemp -d)
  mkdir -p "$copy/usr"
  cp -a "$stage/usr/share" "$copy/usr/"
  developer_form_for_validator "$copy/usr/share/metainfo/$APP_ID.metainfo.xml"
  local verdict=0
  quietly appstreamcli validate --no-net --strict "$copy/usr/share/metainfo/$APP_ID.metainfo.xml" ||
    fail "appstreamcli rejects $file" || verdict=1
  # The tree check also finds the desktop entry that <launchable> names.
  [ "$verdict" -ne 0 ] || quietly appstreamcli validate-tree --no-net --strict "$copy/usr" ||
    fail "appstreamcli rejects the installed tree" || verdict=1
  rm -rf "$copy"
  [ "$verdict" -eq 0 ] || return

  # The first release listed is the newest; a version bump without a release
  # entry would show software centres a stale version.
  local newest
  newest=$(grep -o '<release [^>]*version="[^"]*"' "$file" | head -n 1 | sed 's/.*version="\([^"]*\)".*/\1/')
  [ "$newest" = "$version" ] ||
    fail "newest release in the metainfo is '$newest', the project is at '$version'" || return
  grep -q '<summary xml:lang="ja">.' "$file" || fail "no Japanese summary" || return
  grep -q '<p xml:lang="ja">' "$file" || fail "no Japanese description"
}

check_icons() {
  local hicolor=$1/usr/share/icons/hicolor
  local png dir found=0
  for png in "$hicolor"/*/apps/sorinel.png; do
    [ -f "$png" ] || continue
    found=$((found + 1))
    dir=$(basename "$(dirname "$(dirname "$png")")")
    local format geometry
    read -r format geometry < <(identify -format '%m %wx%h\n' "$png")
    [ "$format" = PNG ] || fail "$dir icon is $format, not PNG" || return
    [ "$geometry" = "$dir" ] || fail "$dir icon is $geometry" || return
    # The look: a transparent corner outside the rounded tile, tan in the
    # tile, and a dark character (an empty tile means the font was missing).
    local corner tan dark
    read -r corner tan < <(convert "$png" -format '%[fx:p{0,0}.a] %[fx:p{2*w/48+1,h/2}.a]\n' info:)
    # Transparent pixels are black underneath: look for the darkest pixel
    # only after laying the icon on a tan ground. (Grey first: ImageMagick 7
    # refuses a channel such as .intensity on the image-wide minima.)
    dark=$(convert "$png" -background 'rgb(210,180,140)' -flatten -colorspace Gray -format '%[fx:minima]' info:)
    awk -v c="$corner" 'BEGIN { exit !(c < 0.5) }' || fail "$dir icon has no rounded corner" || return
    awk -v t="$tan" 'BEGIN { exit !(t > 0.9) }' || fail "$dir icon has no opaque tile" || return
    awk -v d="$dark" 'BEGIN { exit !(d < 0.35) }' || fail "$dir icon has no dark character" || return
  done
  [ "$found" -gt 0 ] || fail "no icons under $hicolor"
}

check_docs() {
  local usr=$1/usr version=$2
  local page=$usr/share/man/man1/sorinel.1.gz
  local changelog=$usr/share/doc/sorinel/changelog.Debian.gz
  [ -f "$page" ] || fail "no manual page at $page" || return
  [ -f "$changelog" ] || fail "no change log at $changelog" || return

  local warnings
  warnings=$(man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "$warnings" >&2; fail "the manual page renders with warnings"; return; }
  man -E UTF-8 -l "$page" 2>/dev/null | grep -q 'sorinel - play' ||
    fail "the manual page has no NAME line for sorinel" || return

  # dpkg reads the first entry as the package's history; it must be the
  # version being packaged.
  local plain entry
  plain=$(mktemp)
  gzip -dc "$changelog" > "$plain"
  entry=$(dpkg-parsechangelog -l "$plain" -S Version 2>&1) || { rm -f "$plain"; echo "$entry" >&2
    fail "dpkg-parsechangelog cannot read the change log"; return; }
  rm -f "$plain"
  [ "${entry%-*}" = "$version" ] ||
    fail "newest change log entry is '$entry', the project is at '$version'"
}

# The types a file manager looks up come from the shared MIME database, by
# name and, where the name is unknown to it (.dvr-ms, .m2p), by content: ask
# it about real files of each kind rather than trust a list.
check_mimetypes() {
  local usr=$1/usr media=$2
  local entry=$usr/share/applications/$APP_ID.desktop
  local meta=$usr/share/metainfo/$APP_ID.metainfo.xml
  local page=$usr/share/man/man1/sorinel.1.gz
  [ -f "$entry" ] || fail "no desktop entry at $entry" || return
  [ -f "$meta" ] || fail "no metainfo at $meta" || return
  [ -f "$page" ] || fail "no manual page at $page" || return
  local listed provided manual
  manual=$(gzip -dc "$page")
  listed=$(desktop_value "$entry" MimeType | tr ';' '\n' | sed '/^$/d' | sort)
  provided=$(grep -o '<mediatype>[^<]*</mediatype>' "$meta" | sed 's/<[^>]*>//g' | sort)
  [ -n "$listed" ] || fail "the desktop entry lists no MimeType" || return
  [ "$listed" = "$provided" ] ||
    fail "the metainfo's mediatypes differ from the desktop entry's MimeType:" \
      "$(diff <(echo "$listed") <(echo "$provided") | grep '^[<>]' | tr '\n' ' ')" || return
  local file type count=0
  for file in "$media"/*; do
    [ -f "$file" ] || continue
    count=$((count + 1))
    type=$(gio info -a standard::content-type "$file" | sed -n 's/^ *standard::content-type: //p')
    grep -qxF "$type" <<<"$listed" ||
      fail "$(basename "$file") is $type to the MIME database; the desktop entry does not list it" || return
    grep -qE "\.${file##*.}([ ,)]|\$)" <<<"$manual" ||
      fail "the manual page does not name .${file##*.}" || return
  done
  [ "$count" -ge 15 ] || fail "only $count media files in $media, expected the fifteen kinds"
}

check_wmclass() {
  local usr=$1/usr
  local want
  want=$(desktop_value "$usr/share/applications/$APP_ID.desktop" StartupWMClass)
  [ -n "$want" ] || fail "the desktop entry names no StartupWMClass" || return

  # A desktop matches a launch to its entry by the class of the window that
  # appears, so look at the real program's first visible window.
  "$usr/bin/sorinel" >/dev/null 2>&1 &
  local pid=$! window=""
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
  done
  local class=""
  [ -n "$window" ] && class=$(xprop -id "$window" WM_CLASS | sed -n 's/.*= "[^"]*", "\([^"]*\)".*/\1/p')
  kill "$pid" 2>/dev/null || true
  # A program that does not end on TERM would hold the test open.
  for _ in $(seq 25); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
  done
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  [ -n "$window" ] || fail "sorinel showed no window: it ended, or 20 s passed" || return
  [ "$class" = "$want" ] || fail "the window's class is '$class', the desktop entry says '$want'"
}

check_appid() {
  local usr=$1/usr runner=$2
  local entry want log got
  entry=$(ls "$usr/share/applications/"*.desktop 2>/dev/null | head -n 1)
  [ -n "$entry" ] || fail "no desktop entry installed" || return
  want=$(basename "$entry" .desktop)
  # A Wayland desktop finds the entry, and so the icon, by the app id the
  # window announces; WAYLAND_DEBUG shows the request that carries it.
  log=$(mktemp)
  "$runner" bash -c '
    WAYLAND_DEBUG=client "$0" >/dev/null 2>"$1" &
    pid=$!
    for _ in $(seq 100); do
      grep -q "set_app_id" "$1" && break
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.2
    done
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    true' "$usr/bin/sorinel" "$log"
  got=$(grep -o 'set_app_id("[^"]*")' "$log" | head -n 1 | sed 's/.*("\(.*\)")/\1/' || true)
  rm -f "$log"
  [ -n "$got" ] || fail "under Wayland the program showed no window with an app id" || return
  [ "$got" = "$want" ] || fail "under Wayland the window's app id is '$got', the desktop entry is '$want.desktop'"
}

check_options() {
  local source=$1 tree report
  tree=$(mktemp -d)
  local generator=()
  command -v ninja >/dev/null && generator=(-G Ninja)
  # GoogleTest is forbidden outright: a REQUIRED look for it fails the configure.
  if ! report=$("${CMAKE:-cmake}" -S "$source" -B "$tree" "${generator[@]}" -DSORINEL_BUILD_TESTS=OFF \
      -DSORINEL_BUILD_BENCH=OFF -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON 2>&1); then
    echo "$report" >&2
    rm -rf "$tree"
    fail "a build without tests and benchmarks does not configure"
    return
  fi
  # The tools the tests drive were never looked for, and neither the tests'
  # nor the benchmarks' folder was configured (each subdirectory gets its
  # own folder in the build tree, whatever the generator).
  local looked configured=""
  looked=$(grep -E '^(GTEST|GTest|XVFB_RUN|DBUS_RUN_SESSION|PLAYERCTL|WESTON|XDOTOOL|XPROP|DESKTOP_FILE_VALIDATE|APPSTREAMCLI|GIO|DPKG_BUILDPACKAGE|LINTIAN)' \
    "$tree/CMakeCache.txt" | cut -d: -f1 | tr '\n' ' ' || true)
  [ -d "$tree/tests" ] && configured+="tests "
  [ -d "$tree/bench" ] && configured+="bench "
  local program=0
  [ -d "$tree/app" ] && program=1
  rm -rf "$tree"
  [ -z "$looked" ] || fail "a package build looked for test tools: $looked" || return
  [ -z "$configured" ] || fail "a package build configured $configured" || return
  [ "$program" -eq 1 ] || fail "a package build has no program"
}

# Runs CHECK on a copy of STAGE broken by BREAK and expects it to fail with a
# message that contains REASON, so that a check failing for another cause
# does not pass for this one.
expect_failure() {
  local name=$1 stage=$2 break=$3 reason=$4
  shift 4
  local copy report
  copy=$(mktemp -d)
  cp -a "$stage/." "$copy/"
  (cd "$copy/usr" && eval "$break")
  if report=$("$@" "$copy" 2>&1); then
    rm -rf "$copy"
    fail "$name: the check passed on a broken tree"
    return
  fi
  rm -rf "$copy"
  if [[ $report != *"$reason"* ]]; then
    echo "$report" >&2
    fail "$name: the check failed, but not with '$reason'"
    return
  fi
  echo "ok: $name is caught"
}

check_selftest() {
  local stage=$1 draw=$3
  SELFTEST_VERSION=$2
  local desktop=share/applications/$APP_ID.desktop
  local meta=share/metainfo/$APP_ID.metainfo.xml
  # The intact tree passes every check, so the failures below are the breaks'.
  check_layout "$stage" && check_desktop "$stage" && check_metainfo "$stage" "$SELFTEST_VERSION" &&
    check_icons "$stage" && check_docs "$stage" "$SELFTEST_VERSION" && check_control "$stage" "$SELFTEST_VERSION" ||
    fail "the intact tree fails a check" || return

  local hicolor=share/icons/hicolor
  expect_failure "missing icon" "$stage" "rm $hicolor/22x22/apps/sorinel.png" \
    "missing:    share/icons/hicolor/22x22" check_layout
  expect_failure "stray library" "$stage" "mkdir -p lib && touch lib/libsorinel_window.a" \
    "unexpected: lib/libsorinel_window.a" check_layout
  expect_failure "URL list in Exec" "$stage" "sed -i 's/^Exec=.*/Exec=sorinel %U/' $desktop" \
    "Exec is 'sorinel %U'" check_desktop
  expect_failure "no file in Exec" "$stage" "sed -i 's/^Exec=.*/Exec=sorinel/' $desktop" \
    "Exec is 'sorinel'" check_desktop
  expect_failure "wrong window class" "$stage" "sed -i 's/^StartupWMClass=.*/StartupWMClass=sorinel/' $desktop" \
    "StartupWMClass is 'sorinel'" check_desktop
  expect_failure "entry without Type" "$stage" "sed -i '/^Type=/d' $desktop" \
    "desktop-file-validate rejects" check_desktop
  expect_failure "icon name without icon" "$stage" "sed -i 's/^Icon=.*/Icon=sorinel-player/' $desktop" \
    "has no installed hicolor icon" check_desktop
  expect_failure "metainfo without content rating" "$stage" "sed -i '/content_rating/d' $meta" \
    "content-rating-missing" check_metainfo_at_version
  expect_failure "launchable without desktop entry" "$stage" "rm $desktop" \
    "desktop-file-not-found" check_metainfo_at_version
  expect_failure "developer only in the form AppStream 1.0 deprecates" "$stage" \
    "sed -i '/<developer[ >]/,/<\\/developer>/d' $meta" "no <developer> with a <name>" check_metainfo_at_version
  expect_failure "release behind the project" "$stage" \
    "sed -i 's/version=\"$SELFTEST_VERSION\"/version=\"0.1\"/' $meta" \
    "newest release in the metainfo is '0.1'" check_metainfo_at_version
  expect_failure "icon of the wrong size" "$stage" \
    "convert $hicolor/32x32/apps/sorinel.png -resize 24x24 $hicolor/32x32/apps/sorinel.png" \
    "32x32 icon is 24x24" check_icons
  expect_failure "empty tile" "$stage" \
    "convert -size 48x48 xc:'rgb(210,180,140)' PNG32:$hicolor/48x48/apps/sorinel.png" \
    "48x48 icon has no rounded corner" check_icons
  expect_failure "character on a transparent ground" "$stage" \
    "convert $hicolor/48x48/apps/sorinel.png -fuzz 5% -transparent 'rgb(210,180,140)' PNG32:$hicolor/48x48/apps/sorinel.png" \
    "48x48 icon has no opaque tile" check_icons
  expect_failure "tile without character" "$stage" \
    "convert -size 64x64 xc:none -fill 'rgb(210,180,140)' -draw 'roundrectangle 1,1 62,62 10,10' PNG32:$hicolor/64x64/apps/sorinel.png" \
    "64x64 icon has no dark character" check_icons
  local page=share/man/man1/sorinel.1.gz changelog=share/doc/sorinel/changelog.Debian.gz
  expect_failure "manual page with an unknown macro" "$stage" \
    "gzip -dc $page | sed 's/^\\\\&\\.avi/.avi/' | gzip -9n > page && mv page $page" \
    "renders with warnings" check_docs_at_version
  expect_failure "change log behind the project" "$stage" \
    "gzip -dc $changelog | sed '1s/([^)]*)/(0.1-1)/' | gzip -9n > log && mv log $changelog" \
    "newest change log entry is '0.1-1'" check_docs_at_version
  expect_failure "change log dpkg cannot read" "$stage" \
    "echo 'not a change log' | gzip -9n > $changelog" "cannot read the change log" check_docs_at_version
  expect_failure "package behind the project" "$stage" \
    "sed -i 's/^Version: .*/Version: 0.1-1/' ../DEBIAN/control" "the package's version is '0.1-1'" check_control_at_version
  expect_failure "package without libmpv" "$stage" \
    "sed -i '/^Depends:/s/ libmpv2,//' ../DEBIAN/control" "which hold the libmpv" check_control_at_version

  # The drawing script takes sizes from 16 to 1024 pixels and nothing else.
  local out size
  out=$(mktemp -d)
  for size in 15 1025 abc ""; do
    if "$draw" "$size" "$out/x.png" 2>/dev/null; then
      fail "draw-icon.sh accepted size '$size'"; rm -rf "$out"; return
    fi
  done
  for size in 16 1024; do
    "$draw" "$size" "$out/x.png" || { fail "draw-icon.sh refused size $size"; rm -rf "$out"; return; }
    [ "$(identify -format '%wx%h' "$out/x.png")" = "${size}x${size}" ] ||
      { fail "draw-icon.sh $size drew another size"; rm -rf "$out"; return; }
  done
  rm -rf "$out"
  echo "ok: draw-icon.sh keeps to its sizes"
}

# The MIME check fails on a desktop entry that misses a kind, on a metainfo
# that disagrees with the entry, and on a manual page that misses a kind.
check_mimetypes_selftest() {
  local stage=$1 media=$2
  local desktop=share/applications/$APP_ID.desktop
  local meta=share/metainfo/$APP_ID.metainfo.xml
  local page=share/man/man1/sorinel.1.gz
  check_mimetypes "$stage" "$media" || fail "the intact tree fails the MIME check" || return
  MIMETYPES_MEDIA=$media
  # .asf and .dvr-ms are both ASF to the database.
  expect_failure "entry without ASF" "$stage" \
    "sed -i '/^MimeType=/s|application/vnd.ms-asf;||' $desktop && sed -i '\|<mediatype>application/vnd.ms-asf<|d' $meta" \
    "is application/vnd.ms-asf to the MIME database" check_mimetypes_in_media
  expect_failure "metainfo behind the entry" "$stage" "sed -i '\|<mediatype>audio/midi<|d' $meta" \
    "differ from the desktop entry" check_mimetypes_in_media
  expect_failure "manual page without .au" "$stage" \
    "gzip -dc $page | sed 's/ \\.au and/ and/' | gzip -9n > page && mv page $page" \
    "the manual page does not name .au" check_mimetypes_in_media
}
check_mimetypes_in_media() { check_mimetypes "$1" "$MIMETYPES_MEDIA"; }

check_metainfo_at_version() { check_metainfo "$1" "$SELFTEST_VERSION"; }
check_docs_at_version() { check_docs "$1" "$SELFTEST_VERSION"; }
check_control_at_version() { check_control "$1" "$SELFTEST_VERSION"; }

command=${1:-}
shift || true
case $command in
  layout)   check_layout "$@" ;;
  desktop)  check_desktop "$@" ;;
  metainfo) check_metainfo "$@" ;;
  icons)    check_icons "$@" ;;
  docs)     check_docs "$@" ;;
  mimetypes) check_mimetypes "$@" ;;
  mimetypes-selftest) check_mimetypes_selftest "$@" ;;
  wmclass)  check_wmclass "$@" ;;
  options)  check_options "$@" ;;
  deb)      check_deb "$@" ;;
  lintian)  check_lintian "$@" ;;
  control)  check_control "$@" ;;
  appid)    check_appid "$@" ;;
  selftest) check_selftest "$@" ;;
  *) echo "usage: $0 deb|lintian|control|layout|desktop|metainfo|icons|docs|mimetypes|wmclass|appid|options|selftest ARGS..." >&2; exit 2 ;;
esac
