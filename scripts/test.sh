#!/usr/bin/env bash
# Builds everything and runs every test: once in a Debug build in build/
# (with the desktop program and its offscreen window tests), once under
# AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/ (core and
# command line); then builds the Debian package in build-package/ and runs
# the programs as it installs them (scripts/test-package.sh); builds and
# packs the VS Code extension (scripts/test-vscode.sh); fuzzes each target
# briefly; and last cross-builds the core and veltrane-cli for
# Windows and runs their tests under Wine (scripts/test-windows.sh).
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

bash scripts/test-vscode.sh

# Each fuzz target for a short while, on a copy of its seed corpus; the long
# run is described in the README.
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELTRANE_FUZZ=ON -DVELTRANE_SANITIZE=ON -DVELTRANE_GUI=OFF -DVELTRANE_BENCH=OFF
cmake --build build-fuzz -j"$jobs" --target veltrane_fuzz
for target in text_reader_fuzz command_line_fuzz module_parser_fuzz source_walker_fuzz \
              examine_fuzz report_writer_fuzz; do
  work=$(mktemp -d)
  echo "Fuzzing $target for 20 s"
  build-fuzz/fuzz/$target -max_total_time=20 -timeout=10 -rss_limit_mb=2048 \
    -dict=fuzz/bmx.dict -print_final_stats=0 "$work" "fuzz/corpus/$target" 2>"$work.log" || {
    tail -40 "$work.log"; rm -rf "$work" "$work.log"; exit 1; }
  rm -rf "$work" "$work.log"
done

scripts/test-windows.sh
