#!/usr/bin/env bash
# make_images.sh OUTDIR: draws the application icon (48, 32, 24 and 16 pixels, and a Windows .ico
# of all four at 256 colours) and the About window's 100 x 100 picture. Everything is drawn here
# from shapes, so the images are ours and rebuild the same on any machine with ImageMagick.
set -euo pipefail
out=$1
mkdir -p "$out"

# The icon is the prompt window itself: a dark grey bar with a white line of text and a caret.
icon() { # icon SIZE FILE
    local n=$1 f=$2
    # Coordinates on a 48-pixel grid, scaled to the size.
    p() { echo $(($1 * n / 48)); }
    convert -size "${n}x${n}" xc:none \
        -fill '#404040' -draw "roundrectangle 0,$(p 10) $((n - 1)),$(p 38) $(p 5),$(p 5)" \
        -fill '#FFFFFF' -draw "rectangle $(p 8),$(p 21) $(p 30),$(p 26)" \
        -fill '#FFD700' -draw "rectangle $(p 34),$(p 16) $(($(p 36) + 1)),$(p 31)" \
        -depth 8 "PNG32:$f"
}

for n in 48 32 24 16; do
    icon "$n" "$out/icon-$n.png"
done
convert "$out/icon-48.png" "$out/icon-32.png" "$out/icon-24.png" "$out/icon-16.png" \
    -colors 256 "$out/icon.ico"

# The About picture: the same bar over a sky, as it floats above a screen being recorded.
convert -size 100x100 gradient:'#5B8DD6'-'#DDE9F8' \
    -fill '#2E5FA8' -draw "rectangle 0,78 99,99" \
    -fill '#404040' -draw "roundrectangle 8,34 91,62 6,6" \
    -fill '#FFFFFF' -draw "rectangle 20,45 62,51" \
    -fill '#FFD700' -draw "rectangle 70,40 73,56" \
    -depth 8 "PNG24:$out/about.png"
