#!/usr/bin/env bash
# Compares every zone's offsets from UTC, 1900 to 2100, as birth/ reads them
# from the text database (tzdata.zi), with zdump's reading of the compiled
# files of the same tzdata (which applies their closing rule past 2037).
# Usage: run_verify.sh DUMP_PROGRAM WORK_DIR
# Exits 77 (skipped) when zdump is not installed.
set -euo pipefail
dump="$1"
work="$2"
if ! command -v zdump >/dev/null 2>&1; then
  echo "SKIPPED: zdump is not installed" >&2
  exit 77
fi
mkdir -p "$work"
"$dump" >"$work/ours.txt"
names=$(sed -n 's/^TZ="\(.*\)"$/\1/p' "$work/ours.txt")
# shellcheck disable=SC2086
zdump -i -c 1900,2101 $names >"$work/zdump.txt"
# Offsets only: entries that change the abbreviation or the daylight flag
# alone fold into the one before; zdump writes the offset of an uninhabited
# time ("-00") as -00.
offsets() {
  awk -F'\t' '/^TZ=/ {print; last=""; next} NF >= 3 { if ($3 == "-00") $3 = "+00"; if ($3 != last) print $1 "\t" $2 "\t" $3; last = $3 }' "$1"
}
offsets "$work/zdump.txt" >"$work/zdump-offsets.txt"
offsets "$work/ours.txt" >"$work/ours-offsets.txt"
zones=$(grep -c '^TZ=' "$work/ours.txt")
changes=$(grep -vc '^TZ=' "$work/ours-offsets.txt")
if ! diff -u "$work/zdump-offsets.txt" "$work/ours-offsets.txt" >"$work/differences.diff"; then
  echo "FAILED: offsets differ from zdump's (zdump -, ours +):" >&2
  head -60 "$work/differences.diff" >&2
  exit 1
fi
echo "compared $zones zones, $changes changes of offset 1900-2100: 0 differences"
# The daylight flag differs where the database writes a negative saving
# (Ireland, Namibia, Morocco, Prague's winter of 1946-47; see
# birth/zone_rules.h) and where an entry changes the flag alone: listed, not
# failed.
flags() {
  awk -F'\t' '/^TZ=/ {zone=substr($0, 5, length($0) - 5); next}
    NF >= 3 { if ($3 == "-00") $3 = "+00"; print zone "\t" $1 "\t" $2 "\t" $3 "\t" ($NF == "1" && NF >= 4 ? 1 : 0) }' "$1" | sort
}
differing=$(comm -13 <(flags "$work/zdump.txt") <(flags "$work/ours.txt") | cut -f1 | sort -u | tr '\n' ' ')
echo "zones whose daylight flag differs somewhere from zdump's: ${differing:-none}"
