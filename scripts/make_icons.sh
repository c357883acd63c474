#!/usr/bin/env bash
# Renders the program's icon (packaging/icons/*.svg) into the PNG sizes that
# the desktop's icon theme uses. The PNGs are kept in the repository, so
# this only needs running after the drawing changes.
# Uses rsvg-convert (Debian: librsvg2-bin) or, failing that, ImageMagick.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
icons="$top/packaging/icons"
svg="$icons/io.github.verbonik.Verbonik.svg"
for size in 48 128 256; do
  out="$icons/${size}x${size}/io.github.verbonik.Verbonik.png"
  mkdir -p "$(dirname "$out")"
  if command -v rsvg-convert >/dev/null; then
    rsvg-convert -w "$size" -h "$size" -o "$out" "$svg"
  else
    convert -background none -density 384 "$svg" -resize "${size}x${size}" "PNG32:$out"
  fi
  echo "$out"
done
