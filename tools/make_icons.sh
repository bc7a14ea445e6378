#!/usr/bin/env bash
# Renders the game's icon (packaging/icons/org.plumix.Plumix.svg) into the
# PNG sizes of the hicolor theme. Needs rsvg-convert (Debian: librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" org.plumix.Plumix.svg -o "org.plumix.Plumix-$size.png"
done
