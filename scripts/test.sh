#!/usr/bin/env bash
# Builds everything and runs every test: once in a normal build (with the
# desktop program and its offscreen window tests), once under
# AddressSanitizer and UndefinedBehaviorSanitizer (core and command line),
# and once cross-built for Windows and run under Wine (scripts/test-windows.sh).
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

scripts/test-windows.sh
