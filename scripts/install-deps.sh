#!/usr/bin/env bash
# Installs the Debian packages that building and testing Veltrane need, but
# only those that are missing, so a second run costs nothing.
#   scripts/install-deps.sh           the native build and its tests
#   scripts/install-deps.sh windows   the MinGW-w64 cross build, Wine, and
#                                     the GoogleTest sources it compiles
#   scripts/install-deps.sh bench     a Release build without the window, and
#                                     hyperfine to time it
set -euo pipefail

if [ "${1:-}" = windows ]; then
  packages=(cmake ninja-build g++-mingw-w64-x86-64 wine64 googletest)
elif [ "${1:-}" = bench ]; then
  packages=(
    build-essential cmake ninja-build pkg-config libbenchmark-dev
    nlohmann-json3-dev libcli11-dev libtomlplusplus-dev hyperfine
  )
else
  packages=(
    build-essential cmake ninja-build pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    nlohmann-json3-dev libcli11-dev libtomlplusplus-dev
    qt6-base-dev qt6-base-dev-tools qt6-webengine-dev libgl-dev
    fonts-dejavu-core
    dpkg-dev desktop-file-utils appstream lintian patch
    clang libclang-rt-14-dev
    # an editor that drives the language server in a test, as a user's would
    neovim
  )
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Please install as root: ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
