#!/usr/bin/env bash
# Main job: installs what the build needs, builds the project and casts the
# default chart page (Big5 HTML) into out/chart.htm.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/setup.sh "${BUILD_PACKAGES[@]}"
cmake --preset default -DZIWEI_BUILD_DESKTOP=OFF -DZIWEI_BUILD_TESTS=OFF -DZIWEI_BUILD_BENCH=OFF >/dev/null
cmake --build --preset default
mkdir -p out
build/default/cli/ziwei -o out/chart.htm
echo "Wrote the default chart page to $PWD/out/chart.htm"
