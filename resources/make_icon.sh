#!/usr/bin/env bash
# Regenerates myicon.ico from the two pictures the project keeps as its icon's source
# (myicon32.xpm, myicon16.xpm) and checks that the result holds what the window class needs:
# a 32x32 and a 16x16 image, both stored as 4-bit (16-colour) bitmaps, pixel for pixel equal
# to their source. Needs ImageMagick; the build itself uses the committed myicon.ico.
set -euo pipefail
cd "$(dirname "$0")"

convert myicon32.xpm myicon16.xpm -colors 16 -type Palette myicon.ico

# The icon directory: per entry width, height, colour count, planes and bits per pixel.
read -r -a dir <<<"$(od -An -tu1 -j6 -N32 myicon.ico | tr -s ' \n' ' ')"
expect_entry() {  # index width height
  local base=$(($1 * 16))
  local width=${dir[base]} height=${dir[base + 1]} colours=${dir[base + 2]}
  local bits=$((dir[base + 6] + 256 * dir[base + 7]))
  if [[ $width != "$2" || $height != "$3" || $colours != 16 || $bits != 4 ]]; then
    echo "make_icon.sh: entry $1 is ${width}x${height}, $colours colours, $bits bits" >&2
    exit 1
  fi
}
expect_entry 0 32 32
expect_entry 1 16 16
identify myicon.ico

for entry in 0:myicon32.xpm 1:myicon16.xpm; do
  differing=$(compare -metric AE "myicon.ico[${entry%%:*}]" "${entry#*:}" null: 2>&1 || true)
  if [[ $differing != 0 ]]; then
    echo "make_icon.sh: ${entry#*:} and its image in myicon.ico differ in $differing pixels" >&2
    exit 1
  fi
done
