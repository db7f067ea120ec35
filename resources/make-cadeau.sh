#!/bin/sh
# Draws the gift window's picture: a prize rosette on a confetti sky.
# Usage: sh make-cadeau.sh [output]   (ImageMagick 6; writes 178 x 154, 24-bit PNG)
set -eu
out=${1:-$(dirname "$0")/cadeau.png}

# Scalloped edge of the rosette: 18 discs on a circle around the centre (89, 64).
petals=$(awk 'BEGIN { for (i = 0; i < 18; i++) { a = i * 3.14159265 / 9;
    x = 89 + 40 * cos(a); y = 64 + 40 * sin(a);
    printf "circle %.1f,%.1f %.1f,%.1f ", x, y, x + 9, y } }')

# Confetti at fixed places so that every run gives the same picture.
confetti="fill #E8413C rectangle 12,14 18,20 fill #3C8DE8 rectangle 150,22 156,28
  fill #2DB84C circle 30,120 33,120 fill #9B4DD6 rectangle 146,112 152,118
  fill #E8413C circle 160,70 163,70 fill #2DB84C rectangle 20,62 26,68
  fill #3C8DE8 circle 40,28 42,28 fill #F08A24 rectangle 132,134 138,140
  fill #9B4DD6 circle 14,96 16,96 fill #F08A24 circle 164,144 166,144"

# Two gold five-pointed stars above the rosette.
star() {
    awk -v cx="$1" -v cy="$2" 'BEGIN { printf "polygon";
        for (i = 0; i < 10; i++) { r = (i % 2) ? 3.5 : 8; a = -1.5707963 + i * 3.14159265 / 5;
            printf " %.1f,%.1f", cx + r * cos(a), cy + r * sin(a) } }'
}
stars="$(star 32 46) $(star 146 46)"

convert -size 178x154 gradient:'#DDF1FF-#FFF7D6' \
  -draw "$confetti" \
  -stroke '#7A1014' -strokewidth 1 \
  -fill '#C8232A' -draw "polygon 68,88 84,96 70,150 61,138 52,147" \
  -fill '#1F5FB8' -draw "polygon 110,88 94,96 108,150 117,138 126,147" \
  -stroke '#B37400' -fill '#F7B500' -draw "$petals" \
  -stroke none -draw "circle 89,64 89,24" \
  -fill '#C8232A' -draw "circle 89,64 89,31" \
  -fill '#FFE27A' -draw "circle 89,64 89,36" \
  -stroke '#B37400' -fill '#F7B500' -draw "$stars" -stroke none \
  -fill '#C8232A' -font Liberation-Sans-Bold -pointsize 13 -gravity north \
  -annotate +0+48 'BRAVO' \
  -fill '#1F5FB8' -pointsize 10 -annotate +0+66 '1er PRIX' \
  -alpha off -define png:color-type=2 -depth 8 "PNG24:$out"
