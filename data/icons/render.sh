#!/usr/bin/env bash
# Renders the PNG sizes of the application icon (sulkan.svg) and of the copy-file icon
# (sulkan-copy.svg); the PNGs are committed, run this after changing a drawing. Needs
# rsvg-convert (librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" sulkan.svg -o "sulkan-$size.png"
  rsvg-convert -w "$size" -h "$size" sulkan-copy.svg -o "sulkan-copy-$size.png"
done
