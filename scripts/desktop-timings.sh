#!/usr/bin/env bash
# Times the window as a user feels it: from pressing 紫微斗數排盤, 運限 and
# 預覽列印 until what each shows is painted, ROUNDS times each (default 10),
# on a private X server. Needs a built ziwei-desktop (build/ci by default, or
# the path in ZIWEI_DESKTOP). Figures vary with the load on the machine: run
# it idle.
set -euo pipefail
cd "$(dirname "$0")/.."
rounds="${1:-10}"
desktop="${ZIWEI_DESKTOP:-build/ci/app/ziwei-desktop}"
export QT_QPA_PLATFORM=xcb
if [ "$(id -u)" -eq 0 ]; then
  # Chromium refuses its sandbox when run as root.
  export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:+$QTWEBENGINE_CHROMIUM_FLAGS }--no-sandbox"
fi
xvfb-run -a -s "-screen 0 1280x1024x24" "$desktop" --timings "$rounds" 2>/dev/null
