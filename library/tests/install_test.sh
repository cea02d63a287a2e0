#!/usr/bin/env bash
# What `cmake --install` puts in a scratch prefix: the programs, the library
# with its SONAME links and its C functions alone exported, the header and
# the pkg-config file; then the C example built against that tree by
# pkg-config alone, run, and compared with the installed ziwei, before and
# after the tree is moved.
#
# Usage: install_test.sh BUILD_DIR SOURCE_DIR CC VERSION DESKTOP(0|1) [CFLAGS]
set -euo pipefail
build=$1 source=$2 cc=$3 version=$4 desktop=$5 extra=${6:-}
major=${version%%.*}

scratch=$(mktemp -d "${TMPDIR:-/tmp}/ziwei-install.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix
failures=0
fail() {
  echo "install test: $*" >&2
  failures=$((failures + 1))
}

if ! cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" 2>&1; then
  cat "$scratch/install.log" >&2
  echo "install test: cmake --install failed (is the whole build done?)" >&2
  exit 1
fi

# The programs.
[ -x "$prefix/bin/ziwei" ] || fail "bin/ziwei missing"
[ "$("$prefix/bin/ziwei" --version)" = "ziwei $version" ] || fail "bin/ziwei --version"
if [ "$desktop" = 1 ]; then
  [ -x "$prefix/bin/ziwei-desktop" ] || fail "bin/ziwei-desktop missing"
  entry=$prefix/share/applications/ziwei-desktop.desktop
  if [ -f "$entry" ]; then
    grep -qx 'Exec=ziwei-desktop.*' "$entry" || fail "the .desktop file does not run ziwei-desktop"
    grep -qx 'Icon=ziwei-desktop' "$entry" || fail "the .desktop file names another icon"
    if command -v desktop-file-validate >/dev/null; then
      desktop-file-validate "$entry" || fail "desktop-file-validate refuses the .desktop file"
    fi
  else
    fail "share/applications/ziwei-desktop.desktop missing"
  fi
  for size in 48 64 128; do
    [ -s "$prefix/share/icons/hicolor/${size}x${size}/apps/ziwei-desktop.png" ] ||
      fail "the ${size}x${size} icon is missing"
  done
fi

# The header, the library and its links.
cmp -s "$source/library/include/ziwei/ziwei.h" "$prefix/include/ziwei/ziwei.h" ||
  fail "include/ziwei/ziwei.h missing or not the source's"
pc=$(find "$prefix" -name ziwei.pc -path '*/pkgconfig/*' -print -quit)
[ -n "$pc" ] || { fail "ziwei.pc missing"; exit 1; }
libdir=$(dirname "$(dirname "$pc")")
[ -f "$libdir/libziwei.so.$version" ] && [ ! -L "$libdir/libziwei.so.$version" ] ||
  fail "libziwei.so.$version missing beside the pkg-config folder"
[ "$(readlink "$libdir/libziwei.so.$major")" = "libziwei.so.$version" ] ||
  fail "libziwei.so.$major is not a link to libziwei.so.$version"
[ "$(readlink "$libdir/libziwei.so")" = "libziwei.so.$major" ] ||
  fail "libziwei.so is not a link to libziwei.so.$major"
readelf -d "$libdir/libziwei.so.$version" | grep -q "Library soname: \[libziwei.so.$major\]" ||
  fail "the SONAME is not libziwei.so.$major"
others=$(nm -D --defined-only "$libdir/libziwei.so.$version" | awk '{print $NF}' |
  sed 's/@.*//' | grep -v -e '^ziwei_' -e '^ZIWEI_' || true)
[ -z "$others" ] || fail "exports other symbols than its own: $(echo "$others" | head -5)"
nm -D --defined-only "$libdir/libziwei.so.$version" | grep -q ' T ziwei_call$\| T ziwei_call@' ||
  fail "ziwei_call is not exported"

# A program of the user's, built and run against the tree; `at` is where
# the tree lies.
check_example() {
  local at=$1 libs
  export PKG_CONFIG_PATH=$at/${libdir#"$prefix/"}/pkgconfig
  [ "$(pkg-config --modversion ziwei)" = "$version" ] || fail "pkg-config --modversion ($at)"
  [ -f "$(pkg-config --variable=includedir ziwei)/ziwei/ziwei.h" ] ||
    fail "pkg-config's includedir holds no ziwei/ziwei.h ($at)"
  libs=$(pkg-config --variable=libdir ziwei)
  # shellcheck disable=SC2046 # the flags are words
  if ! "$cc" -std=c99 -Wall -Wextra -Wpedantic -Werror $extra "$source/examples/chart.c" \
      $(pkg-config --cflags --libs ziwei) -o "$scratch/chart"; then
    fail "the example does not build against the tree ($at)"
    return
  fi
  local loaded
  loaded=$(LD_LIBRARY_PATH=$libs ldd "$scratch/chart" | grep libziwei || true)
  [[ "$loaded" == *"=> $libs/libziwei.so.$major "* ]] ||
    fail "the example does not load the tree's library ($at): $loaded"
  local query='year=1984&month=4&day=20&hour=13&sex=female&on=2026-12-07&lang=en'
  LD_LIBRARY_PATH=$libs "$scratch/chart" chart "$query" >"$scratch/library.json" ||
    fail "the example failed ($at)"
  "$at/bin/ziwei" --year 1984 --month 4 --day 20 --hour 13 --sex female --on 2026-12-07 \
    --lang en --format json >"$scratch/command.json"
  [ -s "$scratch/command.json" ] && cmp -s "$scratch/library.json" "$scratch/command.json" ||
    fail "the example's chart is not the installed ziwei's ($at)"
  local status=0
  LD_LIBRARY_PATH=$libs "$scratch/chart" chart 'month=13' 2>"$scratch/refused" || status=$?
  [ "$status" = 2 ] && grep -q '^ziwei: --month: "13" is not allowed' "$scratch/refused" ||
    fail "the example's refusal ($at): status $status, $(cat "$scratch/refused")"
}
check_example "$prefix"
# The pkg-config file finds the tree where it lies.
mv "$prefix" "$scratch/moved"
check_example "$scratch/moved"

[ "$failures" = 0 ] || exit 1
echo "install test: $(find "$scratch/moved" -type f | wc -l) files installed and used"
