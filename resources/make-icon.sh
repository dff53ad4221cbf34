#!/usr/bin/env bash
# Makes Norvana's icon files from the two pixel maps in resources/icon with
# ImageMagick (Debian package imagemagick):
#   norvana.ico                 the 32x32 and 16x16 maps, 16 colours each, then
#                               24x24 (the 16x16 map scaled 1.5x), 48x48 (it
#                               scaled 3x) and 256x256 (the 32x32 map scaled
#                               8x), pixel for pixel, for Windows' scales
#                               above 100 % and its large icons
#   norvana-16.png, -32.png     the maps
#   norvana-64.png, -128.png    the 32x32 map scaled 2x and 4x, pixel for pixel
# The files are committed; run this after changing a map. With a folder as
# argument it writes there instead (tst_icon compares that with the files).
set -euo pipefail
maps=$(cd "$(dirname "$0")/icon" && pwd)
out=${1:-$maps}
mkdir -p "$out"
cd "$out"

# A map as an XPM image: the same letters, with their colours.
xpm() {
    echo '/* XPM */'
    echo 'static char *icon[] = {'
    echo "\"$1 $1 17 1\","
    printf '"%s c %s",\n' k '#000000' m '#800000' g '#008000' o '#808000' \
        n '#000080' p '#800080' t '#008080' s '#C0C0C0' d '#808080' R '#FF0000' \
        G '#00FF00' Y '#FFFF00' B '#0000FF' M '#FF00FF' C '#00FFFF' W '#FFFFFF' . None
    grep -v '^#' "$maps/norvana-$1.txt" | sed 's/.*/"&",/'
    echo '};'
}
xpm 32 >norvana-32.xpm
xpm 16 >norvana-16.xpm

# The large images Windows shows at 125 % and above; no map is smoothed, so
# every pixel keeps one of the 16 colours. 256 pixels is stored as PNG.
convert norvana-32.xpm norvana-16.xpm \
    \( norvana-16.xpm -sample 150% \) \( norvana-16.xpm -sample 300% \) \( norvana-32.xpm -sample 800% \) \
    -type PaletteAlpha norvana.ico
convert norvana-16.xpm -strip norvana-16.png
convert norvana-32.xpm -strip norvana-32.png
convert norvana-32.xpm -scale 200% -strip norvana-64.png
convert norvana-32.xpm -scale 400% -strip norvana-128.png
rm norvana-32.xpm norvana-16.xpm
