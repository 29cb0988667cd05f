#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Marrowby Industries
# Draws the program icon in the sizes the desktop asks for, and the maker's
# logo for the About window. Needs ImageMagick; the PNGs are committed, so
# building needs neither this script nor ImageMagick.
set -eu
cd "$(dirname "$0")"
big=$(mktemp --suffix=.png)
trap 'rm -f "$big"' EXIT

# A teal globe with cyan meridians as the lens of a magnifier with a yellow
# handle, drawn once large and scaled down for the desktop's sizes.
convert -size 512x512 xc:none \
  -stroke '#202020' -strokewidth 84 -draw 'line 330,330 470,470' \
  -stroke '#ffff00' -strokewidth 56 -draw 'line 330,330 470,470' \
  -stroke '#003c3c' -strokewidth 20 -fill '#008080' -draw 'circle 208,208 208,28' \
  -stroke '#00ffff' -strokewidth 14 -fill none \
  -draw 'ellipse 208,208 78,170 0,360' \
  -draw 'line 208,40 208,376' -draw 'line 40,208 376,208' \
  -draw 'line 62,120 354,120' -draw 'line 62,296 354,296' \
  -stroke '#003c3c' -strokewidth 20 -draw 'circle 208,208 208,28' \
  "$big"
for size in 48 64 128 256; do
  convert "$big" -filter Lanczos -resize "${size}x$size" -depth 8 -strip "holdrin-$size.png"
done

# The window icon is drawn pixel by pixel at 32, in at most 16 colours.
convert -size 32x32 xc:none +antialias \
  -stroke '#202020' -strokewidth 5 -draw 'line 20,20 29,29' \
  -stroke '#ffff00' -strokewidth 3 -draw 'line 20,20 29,29' \
  -stroke '#003c3c' -strokewidth 1 -fill '#008080' -draw 'circle 13,13 13,2' \
  -stroke '#00ffff' -fill none -draw 'ellipse 13,13 5,10 0,360' \
  -draw 'line 13,3 13,23' -draw 'line 3,13 23,13' -draw 'line 5,7 21,7' -draw 'line 5,19 21,19' \
  -stroke '#003c3c' -draw 'circle 13,13 13,2' \
  -colors 16 -strip PNG8:holdrin-32.png

# The maker's logo, 306 by 209: a sun rising between the two peaks of an M.
convert -size 306x209 gradient:'#00205a'-'#000010' \
  -fill none -stroke '#008080' -strokewidth 2 -draw 'roundrectangle 3,3 302,205 14,14' \
  -stroke none -fill '#ffff00' -draw 'circle 153,46 153,30' \
  -fill none -stroke '#00c0c0' -strokewidth 14 \
  -draw 'stroke-linejoin round stroke-linecap round polyline 86,108 119,40 153,84 187,40 220,108' \
  -stroke none -fill white -font DejaVu-Sans-Bold -pointsize 34 -gravity north \
  -annotate +0+122 'MARROWBY' \
  -fill '#00ffff' -font DejaVu-Sans -pointsize 14 -kerning 7 -annotate +3+170 'INDUSTRIES' \
  -depth 8 -strip marrowby-logo.png
