#!/usr/bin/env bash
# make_images.sh OUTDIR: renders the application icon from icon.svg (16 to 256 pixels, and a
# Windows .ico of 48, 32, 24 and 16 at 256 colours) and draws the About window's 100 x 100 picture.
# Everything is drawn from shapes, so the images are ours and rebuild the same on any machine with
# ImageMagick.
set -euo pipefail
out=$1
mkdir -p "$out"

# The icon at every size a desktop asks for, rendered from the one drawing in icon.svg.
svg=$(dirname "$0")/icon.svg
for n in 16 24 32 48 64 128 256; do
    convert -background none -density $((96 * n / 48)) "$svg" -resize "${n}x${n}!" \
        -depth 8 "PNG32:$out/icon-$n.png"
done
convert "$out/icon-48.png" "$out/icon-32.png" "$out/icon-24.png" "$out/icon-16.png" \
    -colors 256 "$out/icon.ico"
# The window icons as plain RGBA pixels: the program shows them without decoding anything, and so
# without Qt looking through its image plugins at start-up.
for n in 16 24 32 48; do
    convert "$out/icon-$n.png" -depth 8 "rgba:$out/icon-$n.rgba"
done

# The About picture: the same bar over a sky, as it floats above a screen being recorded.
convert -size 100x100 gradient:'#5B8DD6'-'#DDE9F8' \
    -fill '#2E5FA8' -draw "rectangle 0,78 99,99" \
    -fill '#404040' -draw "roundrectangle 8,34 91,62 6,6" \
    -fill '#FFFFFF' -draw "rectangle 20,45 62,51" \
    -fill '#FFD700' -draw "rectangle 70,40 73,56" \
    -depth 8 "PNG24:$out/about.png"
# The same picture as the Windows resource compiler takes it.
convert "$out/about.png" "BMP3:$out/about.bmp"
