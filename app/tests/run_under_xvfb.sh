#!/bin/sh
# Runs one desktop test on a private X server (xvfb-run -a picks a free
# display), on the xcb platform and with a time limit. Chromium refuses its
# sandbox when run as root, so only then is it turned off.
set -eu
export QT_QPA_PLATFORM=xcb
if [ "$(id -u)" -eq 0 ]; then
  QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:+$QTWEBENGINE_CHROMIUM_FLAGS }--no-sandbox"
  export QTWEBENGINE_CHROMIUM_FLAGS
fi
exec timeout --kill-after=10 150 xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
