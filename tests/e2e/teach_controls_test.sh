#!/usr/bin/env bash
# The teaching controls on the window program: the caption tells the speed after Grow and Low
# and that the run is held; Step (the s key and the menu item) paints exactly one more cell of
# a held noise pass; above the decoding threshold a run says that no block met the selection
# rule, and with Show every block (chosen from the menu) it animates the failing blocks.
source "$(dirname "$0")/e2e_lib.sh"

readonly TITLE='МНОГОПОРОГОВЫЙ ДЕКОДЕР (mtd-demo)'
readonly DASH='—'
caption_is() { [[ $(xdotool getwindowname "$WINDOW" 2>/dev/null) == "$1" ]]; }
expect_caption() {
  wait_until 5 "the caption '$1'" caption_is "$1"
}
frontier_is() { [[ $(information_frontier) == "$1" ]]; }

# menu_key KEY: drops the File menu down and picks an item by its mnemonic.
menu_key() {
  open_file_menu
  keys "$1"
}

# p = 0.08 is above what the built-in code corrects: the selection rule keeps no block.
E2E_CONFIG=$'nbl=1000\nkst=7\np=0.08\nndn=11 checks\nkfp={22,0,24,75,110,151,183,257,411,426,496,522,543,579,648,689,714,733,789,796,814,824,856,899,922}\nktrh={10,2,1,0,0,0,0,0,0,0,0,0}\nmaxBlock=30\nddn=22\ncheck\n'
start_session
expect_caption "$TITLE"

# No block shown: the run ends by itself and says why in the status area's left column.
message_shown() { shoot && probe columns >/dev/null 2>&1; }
keys F5
wait_until 60 "the message that no block was shown" message_shown
(($(information_frontier) == 0)) || fail "a block was animated at p = 0.08 without Show every block"
echo "a run at p = 0.08 ends with the no-block message"

# Show every block: the same run animates its first trial. Slowed down eight times, its
# noise pass can be held and stepped cell by cell.
menu_key e
keys F5 l l l
expect_caption "$TITLE $DASH speed ×1/8"
wait_until 60 "the noise pass to paint INFORMATION cells 0 to 19" frontier_at_least 20
keys F6
wait_until 10 "Pause to hold the run" picture_still
expect_caption "$TITLE $DASH paused $DASH speed ×1/8"
held=$(probe frontier)
keys s
wait_until 10 "Step to paint one more cell" frontier_is $((held + 1))
wait_until 10 "the run to hold again after the step" picture_still
frontier_is $((held + 1)) || fail "Step painted more than one cell"
menu_key s
wait_until 10 "Step from the menu to paint one more cell" frontier_is $((held + 2))
wait_until 10 "the run to hold again after the second step" picture_still
frontier_is $((held + 2)) || fail "Step from the menu painted more than one cell"
echo "held at $held INFORMATION cells; s and the menu's Step each painted one"

# Resumed at the fastest pace, the failing block's decoding reaches the statistics screen.
keys F6 $(printf 'g %.0s' {1..25})
expect_caption "$TITLE $DASH speed ×500000"
statistics_shown() {
  shoot
  (($(probe changed 0) == 1000))
}
wait_until 120 "the failing block's statistics screen" statistics_shown
keys F10
wait_exit 10
[[ $EXIT_STATUS == 0 ]] || fail "exit status $EXIT_STATUS after F10"
echo "PASS: caption, Step by key and menu, the no-block message and Show every block"
