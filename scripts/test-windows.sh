#!/usr/bin/env bash
# The Windows step of the test command: cross-builds the core, veltrane-cli
# and the test programs with MinGW-w64 and runs the tests under Wine, in a
# Wine prefix of the build folder's own, without a display.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh windows

build=build-windows
jobs=$(nproc)
started=$SECONDS
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DVELTRANE_GUI=OFF -DVELTRANE_BENCH=OFF -DVELTRANE_TEST_DRIVE=R:
cmake --build "$build" -j"$jobs"

export WINEPREFIX="$PWD/$build/wine" WINEDEBUG=-all
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
wineserver=/usr/lib/wine/wineserver64
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Making the Wine prefix $WINEPREFIX ..."
  "$wine" wineboot -i >/dev/null 2>&1
  "$wineserver" -w
fi
# Drive R: is a folder of the build whose root the tests may fill.
mkdir -p "$build/drive-r"
ln -sfn "$PWD/$build/drive-r" "$WINEPREFIX/dosdevices/r:"

status=0
ctest --test-dir "$build" --output-on-failure -j"$jobs" || status=$?
# The Wine server of this prefix ends with the run.
"$wineserver" -k 2>/dev/null || true
echo "Windows build and tests took $((SECONDS - started)) s"
exit "$status"
