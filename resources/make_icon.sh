#!/usr/bin/env bash
# Regenerates myicon.ico from the two pictures the project keeps as its icon's source
# (myicon32.xpm, myicon16.xpm) and checks that the result holds what the window class needs:
# a 32x32 and a 16x16 image, both stored as 4-bit (16-colour) bitmaps, pixel for pixel equal
# to their source. Also writes the Linux desktop's icons icons/mtd-demo-{16,32,48}.png.
# Needs ImageMagick; the build itself uses the committed myicon.ico and PNGs.
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

# The desktop icon theme's sizes: the two pictures as they are, and 48 px scaled from the 32 px
# picture pixel by pixel (no blurring of the cells). No time stamps, so that a rerun changes
# nothing.
png=(-strip -define png:exclude-chunks=date,time)
mkdir -p icons
convert myicon16.xpm "${png[@]}" icons/mtd-demo-16.png
convert myicon32.xpm "${png[@]}" icons/mtd-demo-32.png
convert myicon32.xpm -filter point -resize 48x48 "${png[@]}" icons/mtd-demo-48.png
for size in 16 32 48; do
  geometry=$(identify -format '%wx%h' "icons/mtd-demo-$size.png")
  if [[ $geometry != "${size}x${size}" ]]; then
    echo "make_icon.sh: icons/mtd-demo-$size.png is $geometry" >&2
    exit 1
  fi
done
