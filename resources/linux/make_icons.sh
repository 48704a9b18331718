#!/usr/bin/env bash
# Renders the hand-drawn icon to the PNG sizes that desktops look for. The PNGs
# are kept in the repository so that building needs no SVG renderer; run this
# again (needs rsvg-convert, Debian package librsvg2-bin) after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")"
svg=io.github.veltrane.Veltrane.svg
for size in 16 22 24 32 48 64 128 256 512; do
  mkdir -p "icons/${size}x${size}"
  rsvg-convert -w "$size" -h "$size" "$svg" -o "icons/${size}x${size}/io.github.veltrane.Veltrane.png"
done
