#!/usr/bin/env bash
# Builds Veltrane and runs its main job on the bundled example: the program
# examples/game/game.bmx against the example installation examples/BlitzMax.
# Where a display exists, the window opens on the same program afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)"

report="$PWD/build/example-results.htm"
build/veltrane-cli --root examples/BlitzMax --html "$report" examples/game/game.bmx
echo
echo "The report went to: $report"

if [ -x build/veltrane ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  # The window reads its root folder from vt.ini beside it.
  printf '%s\r\n' "$PWD/examples/BlitzMax" > build/vt.ini
  echo "Opening the window on the example program ..."
  build/veltrane "$PWD/examples/game/game.bmx"
fi
