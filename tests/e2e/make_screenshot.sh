#!/usr/bin/env bash
# Makes the README's picture of a decoding in progress: the window program on its defaults in
# a virtual X server, held with Pause while the decoder sweeps the first shown block.
#   make_screenshot.sh <mtd-demo> <mtd_e2e_probe> <output.png>
# Not a test; run it by hand after a change to the picture.
source "$(dirname "$0")/e2e_lib.sh"
picture_arguments "$@"

# Cells of the DIFFERENCE row change only while the decoder flips bits.
decoder_at_work() {
  shoot
  (($(probe changed 0) >= ${1:-1}))
}

start_session
keys F5
wait_until 120 "the decoder to flip a dozen bits" decoder_at_work 12
keys F6
wait_until 10 "Pause to hold the run" picture_still
import -window root "$PICTURE"
picture_taken
