#!/usr/bin/env bash
# Renders the menu icon packaging/icons/memory.svg at the sizes the package
# installs (memory-48.png ... memory-256.png). Needs rsvg-convert (librsvg2-bin).
# The results are committed; run this only after changing the drawing.
set -euo pipefail
icons="$(cd "$(dirname "$0")/.." && pwd)/packaging/icons"
command -v rsvg-convert >/dev/null ||
    { echo "$(basename "$0"): 'rsvg-convert' is missing; install it with: sudo apt-get install librsvg2-bin" >&2; exit 1; }
for size in 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" "$icons/memory.svg" -o "$icons/memory-$size.png"
done
