#!/usr/bin/env bash
# A refused init.txt: its message, in the real font, stays in the left column of the status
# lines (wrapped, and cut where it is longer than two lines). After a run has shown a block,
# Reset draws the message again beside the block number line and must leave that line whole.
source "$(dirname "$0")/e2e_lib.sh"

# kfp[24] raises nbl far above the block capacity: the longest message the loader writes.
E2E_CONFIG='nbl=-2147483648
kst=7
p=0.06
ndn=11 checks
kfp={24,0,24,75,110,151,183,257,411,426,496,522,543,579,648,689,714,733,789,796,814,824,856,899,2147483647}
ktrh={10,2,1,0,0,0,0,0,0,0,0,0}
maxBlock=2000
ddn=24
check
'
start_session
shoot
probe columns || fail "the refused file's message at start-up"

# The defaults apply: run at the shortest pace until the decoder of the first shown block has
# drawn its header, then Reset.
keys F5 $(printf 'g %.0s' {1..19})
decoding() { shoot && (($(probe changed 0 2>/dev/null | awk '{print $NF}') > 0)); }
wait_until 60 "the first shown block's decoding" decoding
keys F2
wait_until 20 "the empty grid after Reset" grid_drawn
probe columns 1 || fail "the message after Reset beside the block number line"

keys F10
wait_exit 10
[[ $EXIT_STATUS == 0 ]] || fail "exit status $EXIT_STATUS after F10"
echo "PASS: the refused file's message stays in the left column; the block number line stands after Reset"
