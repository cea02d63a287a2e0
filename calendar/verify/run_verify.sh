#!/usr/bin/env bash
# Compares the calendar library with independent reference packages over every
# day 1900-01-31..2100-12-31.
# Usage: run_verify.sh DUMP_PROGRAM WORK_DIR
# Installs the pinned reference packages (package-lock.json) into WORK_DIR when
# they are missing. Exits 77 (skipped) only when node or npm is not installed.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
dump="$1"
work="$2"

for tool in node npm; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIPPED: '$tool' is not installed; the every-day verification needs node and npm" >&2
    exit 77
  fi
done

mkdir -p "$work"
# Reinstall when the pinned lock file changed since the last install.
if ! cmp -s "$here/package-lock.json" "$work/package-lock.json" || [ ! -d "$work/node_modules" ]; then
  cp "$here/package.json" "$here/package-lock.json" "$work/"
  (cd "$work" && npm ci --no-audit --no-fund --loglevel=error)
fi
cp "$here/reference_days.js" "$work/"

"$dump" >"$work/ours.tsv"
node "$work/reference_days.js" >"$work/reference.tsv"

ours=$(wc -l <"$work/ours.tsv")
theirs=$(wc -l <"$work/reference.tsv")
if [ "$ours" -ne "$theirs" ]; then
  echo "FAILED: the library printed $ours days, the reference $theirs" >&2
  exit 1
fi
if ! diff -u "$work/reference.tsv" "$work/ours.tsv" >"$work/differences.diff"; then
  count=$(grep -c '^+[0-9]' "$work/differences.diff" || true)
  echo "FAILED: $count of $ours days differ (reference -, library +); first differences:" >&2
  head -40 "$work/differences.diff" >&2
  exit 1
fi
echo "compared $ours days ($(head -c 10 "$work/ours.tsv")..$(tail -n 1 "$work/ours.tsv" | cut -c 1-10)), 0 differences"
