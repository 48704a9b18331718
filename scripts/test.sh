#!/usr/bin/env bash
# Builds everything and runs every test: once in a Debug build in build/
# (with the desktop program and its offscreen window tests), once under
# AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/ (core and
# command line); then builds the Debian package in build-package/ and runs
# the programs as it installs them (scripts/test-package.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

jobs=$(nproc)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Debug
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DVELTRANE_SANITIZE=ON -DVELTRANE_GUI=OFF -DVELTRANE_BENCH=OFF
cmake --build build-asan -j"$jobs"
ctest --test-dir build-asan --output-on-failure -j"$jobs"

bash scripts/test-package.sh
