#!/usr/bin/env bash
# Test job: installs what the build and the tests need, builds with warnings
# as errors and runs every test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/setup.sh "${BUILD_PACKAGES[@]}" "${DESKTOP_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
cmake --preset ci >/dev/null
cmake --build --preset ci
ctest --preset ci
