#!/bin/sh
# Draws the icon: four balls, one per allele colour of the classroom
# experiment. The window's own sizes, 32 x 32 and 16 x 16, are reduced to a
# 16-colour palette; the desktop menu's larger sizes are the same drawing,
# smoothed.
# Needs ImageMagick; writes next to itself, wherever it is run from.
set -eu
cd "$(dirname "$0")"

# balls SIZE: draw commands for a 2 x 2 set of balls filling a SIZE-pixel square.
balls() {
    size=$1
    half=$((size / 2))
    r=$((size * 7 / 32))        # ball radius
    spot=$((size / 16))         # highlight side, less one
    set -- "#d02828:#7a1010" "#2858d0:#102a7a" "#28a838:#106018" "#f0c820:#8a6a08"
    i=0
    for colours in "$@"; do
        fill=${colours%%:*}
        edge=${colours##*:}
        cx=$(( (i % 2) * half + half / 2 ))
        cy=$(( (i / 2) * half + half / 2 ))
        printf -- "-fill '%s' -stroke '%s' -draw 'circle %s,%s %s,%s' " \
            "$fill" "$edge" "$cx" "$cy" "$cx" "$((cy + r))"
        hx=$((cx - r / 2))
        hy=$((cy - r / 2))
        printf -- "-fill white -stroke none -draw 'rectangle %s,%s %s,%s' " \
            "$hx" "$hy" "$((hx + spot))" "$((hy + spot))"
        i=$((i + 1))
    done
}

for size in 32 16; do
    eval "convert -size ${size}x${size} xc:none +antialias -strokewidth 1 $(balls "$size") \
        +dither -colors 16 -define png:color-type=3 -strip PNG8:icon${size}.png"
done
for size in 48 64 128 256; do
    eval "convert -size ${size}x${size} xc:none -strokewidth $((size / 32)) $(balls "$size") \
        -strip PNG32:icon${size}.png"
done
