#!/usr/bin/env bash
# Main job: installs what the build needs, builds the project and casts the
# default chart.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/setup.sh "${BUILD_PACKAGES[@]}"
cmake --preset default -DZIWEI_BUILD_DESKTOP=OFF >/dev/null
cmake --build --preset default
build/default/chart/ziwei-frame
