#!/usr/bin/env bash
# Renders the application icon's PNG sizes from sulkan.svg (the PNGs are committed; run this
# after changing the drawing). Needs rsvg-convert (librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" sulkan.svg -o "sulkan-$size.png"
done
