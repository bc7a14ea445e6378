#!/usr/bin/env bash
# Renders the game's icon (packaging/icons/org.plumix.Plumix.svg) into the
# PNG sizes of the hicolor theme: every size a desktop asks for at scale 1,
# and the twice as large ones its scale-2 folders ("48x48@2") take (see
# packaging/install.cmake). Needs rsvg-convert (Debian: librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
for size in 16 22 24 32 44 48 64 96 128 256 512; do
    rsvg-convert -w "$size" -h "$size" org.plumix.Plumix.svg -o "org.plumix.Plumix-$size.png"
done
