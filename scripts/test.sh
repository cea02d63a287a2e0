#!/usr/bin/env bash
# Test job: installs what the build and the tests need, builds with warnings
# as errors and runs every test suite, then runs the suite again under the
# sanitizers and runs the fuzz targets briefly.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/setup.sh "${BUILD_PACKAGES[@]}" "${DESKTOP_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
cmake --preset ci >/dev/null
cmake --build --preset ci
ctest --preset ci

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer
# (LeakSanitizer included); any finding fails its test.
cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan -j2 --no-tests=error

# Each libFuzzer target for a bounded time from its seed corpus.
scripts/fuzz.sh 20
