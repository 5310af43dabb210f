#!/bin/sh
# Redraws the two title-bar logos (our own artwork). The PNGs are kept in git so
# that the build needs no image tools; run this after changing the drawing.
set -eu
cd "$(dirname "$0")/resource/Logo"
font=DejaVu-Sans-Bold

# Type 0: a 4 x 4 crosspoint grid with one lit route, and the product name.
grid=""
for r in 0 1 2 3; do
  for c in 0 1 2 3; do
    x=$((6 + c * 7)); y=$((4 + r * 7))
    if [ "$r" = "$c" ]; then fill='#38bdf8'; else fill='#475569'; fi
    grid="$grid fill $fill rectangle $x,$y $((x + 4)),$((y + 4))"
  done
done
convert -size 230x34 xc:none -draw "$grid" \
  -font "$font" -pointsize 14 -fill '#f1f5f9' -annotate +40+22 'MATRIX CONTROLLER' \
  mq_logo.png

# Type 1: an input arrow fanning out to three outputs, and a shorter name.
convert -size 230x34 xc:none \
  -stroke '#f59e0b' -strokewidth 2 -fill none \
  -draw "line 6,17 16,17 line 16,17 28,7 line 16,17 28,17 line 16,17 28,27" \
  -stroke none -fill '#f59e0b' -draw "circle 6,17 9,17" \
  -font "$font" -pointsize 14 -fill '#f8fafc' -annotate +40+22 'AV ROUTER PRO' \
  VavIDAD.png

# Title-bar buttons: menu, minimise and close glyphs, light on the dark bar.
cd ../Icon
convert -size 16x16 xc:none -stroke '#e2e8f0' -strokewidth 2 \
  -draw "line 2,4 14,4 line 2,8 14,8 line 2,12 14,12" menu.png
convert -size 16x16 xc:none -stroke '#e2e8f0' -strokewidth 2 \
  -draw "line 3,11 13,11" minimize.png
convert -size 16x16 xc:none -stroke '#e2e8f0' -strokewidth 2 \
  -draw "line 3,3 13,13 line 13,3 3,13" close.png
# Combo box arrows: a small down triangle, dark for enabled boxes, pale for disabled ones.
convert -size 9x6 xc:none -fill '#475569' -stroke none -draw "polygon 0,0 8,0 4,5" down-arrow.png
convert -size 9x6 xc:none -fill '#cbd5e1' -stroke none -draw "polygon 0,0 8,0 4,5" down-arrow-disabled.png
