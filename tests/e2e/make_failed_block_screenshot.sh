#!/usr/bin/env bash
# Makes the README's picture of a decoding failure: the built-in code at p = 0.08, above what
# it corrects, with Show every block chosen from the menu, caught in the wait after the first
# trial block's decoding, with the errors the decoder left on the INFORMATION row.
#   make_failed_block_screenshot.sh <mtd-demo> <mtd_e2e_probe> <output.png>
# Not a test; run it by hand after a change to the picture.
source "$(dirname "$0")/e2e_lib.sh"
picture_arguments "$@"

# The decoder has changed DIFFERENCE cells and the picture holds still: the timed wait.
decoded_and_waiting() {
  shoot
  (($(probe changed 0) > 0)) && picture_still
}

E2E_CONFIG=$'nbl=1000\nkst=7\np=0.08\nndn=11 checks\nkfp={22,0,24,75,110,151,183,257,411,426,496,522,543,579,648,689,714,733,789,796,814,824,856,899,922}\nktrh={10,2,1,0,0,0,0,0,0,0,0,0}\nmaxBlock=2000\nddn=22\ncheck\n'
start_session
open_file_menu
keys e
keys F5 g g g g g g g
wait_until 120 "the first trial block's decoding to end" decoded_and_waiting
keys F6
import -window root "$PICTURE"
picture_taken
