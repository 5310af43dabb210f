#!/bin/sh
# Renders the application icon at the usual theme sizes. The PNGs are kept in git
# so that the build needs no image tools; run this after changing the drawing.
set -eu
cd "$(dirname "$0")"
for size in 16 24 32 48 64 128 256; do
    convert -background none -density 384 matrix-controller.svg \
        -resize "${size}x${size}" -depth 8 -strip "icons/matrix-controller-$size.png"
done
