#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Renders the application icon's PNG sizes from reelcraft.svg, and the Windows icon file from
# them (needs ImageMagick).
set -euo pipefail
cd "$(dirname "$0")"
for size in 32 64 128; do
  convert -background none reelcraft.svg -resize "${size}x${size}" -depth 8 -strip \
    "reelcraft_${size}.png"
done
# The Windows program's icon resource: the same pictures in one icon file.
convert reelcraft_32.png reelcraft_64.png reelcraft_128.png reelcraft.ico
