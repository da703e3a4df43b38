#!/usr/bin/env bash
# Makes the README's picture of a decoding failure: the built-in code at p = 0.08, above what
# it corrects, with Show every block chosen from the menu, caught in the wait after the first
# trial block's decoding, with the errors the decoder left on the INFORMATION row.
#   make_failed_block_screenshot.sh <mtd-demo> <mtd_e2e_probe> <output.png>
# Not a test; run it by hand after a change to the picture.
if [[ $# -ne 3 ]]; then
  echo "usage: $0 <mtd-demo> <mtd_e2e_probe> <output.png>" >&2
  exit 2
fi
MTD_DEMO=$(realpath "$1")
MTD_PROBE=$(realpath "$2")
output=$(realpath -m "$3")
source "$(dirname "$0")/e2e_lib.sh"

menu_open() {
  xwininfo -root -children |
    awk '/\(has no name\)/ { split($6, size, /[x+]/); if (size[2] > 60) { found = 1 } } END { exit !found }'
}
# The decoder has changed DIFFERENCE cells and the picture holds still: the timed wait.
decoded_and_waiting() {
  shoot
  (($(probe changed 0) > 0)) && picture_still
}

E2E_CONFIG=$'nbl=1000\nkst=7\np=0.08\nndn=11 checks\nkfp={22,0,24,75,110,151,183,257,411,426,496,522,543,579,648,689,714,733,789,796,814,824,856,899,922}\nktrh={10,2,1,0,0,0,0,0,0,0,0,0}\nmaxBlock=2000\nddn=22\ncheck\n'
start_session
xdotool mousemove --window "$WINDOW" 20 12 click 1 2>/dev/null
wait_until 10 "the File menu to open" menu_open
keys e
keys F5 g g g g g g g
wait_until 120 "the first trial block's decoding to end" decoded_and_waiting
keys F6
import -window root "$output"
keys F10
wait_exit 10
echo "wrote $output"
