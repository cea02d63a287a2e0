# Debian package sets of the jobs; sourced by run.sh and test.sh.
# shellcheck shell=bash
# Birth times read zones from the system's time-zone database (tzdata, its text form tzdata.zi);
# the zones' check compares them with zdump (libc-bin) of the same tzdata.
# The HTTP service is built on Boost.Beast and Boost.Asio (header-only, libboost-dev).
BUILD_PACKAGES=(build-essential cmake ninja-build pkg-config tzdata libboost-dev)
DESKTOP_PACKAGES=(qt6-base-dev qt6-webengine-dev qt6-translations-l10n libgl-dev fonts-noto-cjk)
# The suites, benchmarks and fuzz targets: GoogleTest, Google Benchmark,
# RapidJSON (reads documents back), OpenCC (checks the zh-Hans names), Chromium
# (runs the study page and the service's web page), the Python module (pybind11,
# pytest), wrk (the service's load benchmark) and systemd-analyze (checks the unit).
TEST_PACKAGES=(libgtest-dev libbenchmark-dev rapidjson-dev opencc xvfb xauth nodejs chromium clang
  libclang-rt-14-dev pybind11-dev python3-dev python3-pytest wrk systemd)
# The calendar's every-day verification installs its reference packages with npm.
# Some nodejs builds bring npm themselves (and conflict with Debian's npm).
command -v npm >/dev/null 2>&1 || TEST_PACKAGES+=(npm)
