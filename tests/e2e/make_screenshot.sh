#!/usr/bin/env bash
# Makes the README's picture of a decoding in progress: the window program on its defaults in
# a virtual X server, held with Pause while the decoder sweeps the first shown block.
#   make_screenshot.sh <mtd-demo> <mtd_e2e_probe> <output.png>
# Not a test; run it by hand after a change to the picture.
if [[ $# -ne 3 ]]; then
  echo "usage: $0 <mtd-demo> <mtd_e2e_probe> <output.png>" >&2
  exit 2
fi
MTD_DEMO=$(realpath "$1")
MTD_PROBE=$(realpath "$2")
output=$(realpath -m "$3")
source "$(dirname "$0")/e2e_lib.sh"

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
import -window root "$output"
keys F10
wait_exit 10
echo "wrote $output"
