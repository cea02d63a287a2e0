# Debian package sets of the jobs; sourced by run.sh and test.sh.
# shellcheck shell=bash
BUILD_PACKAGES=(build-essential cmake ninja-build pkg-config libgtest-dev libbenchmark-dev rapidjson-dev)
DESKTOP_PACKAGES=(qt6-base-dev qt6-webengine-dev libgl-dev fonts-noto-cjk)
TEST_PACKAGES=(xvfb xauth)
