#!/usr/bin/env bash
# After start-up the empty grid has the layout and colours of the recorded client size; the
# grayed Pause and Reset are delivered neither by key nor by click, and Escape does not close
# the window. Run and Quit from the menu, by click and by mnemonic.
source "$(dirname "$0")/e2e_lib.sh"

start_session
shoot
probe grid || fail "the empty grid after start-up"
cp "$SHOT" "$E2E_TMP/startup.ppm"

# F6 (Pause) and F2 (Reset) are grayed before Run, and Escape is no close request.
keys F6 F2 Escape
# A click on the grayed Pause item of the open "File" menu, then Escape to leave the menu.
open_file_menu
popup=$(xwininfo -id "$POPUP")
popup_x=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$popup")
popup_y=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$popup")
popup_h=$(awk '/Height:/ {print $2}' <<<"$popup")
# The File menu's items, of equal height (FLTK draws a separator inside the item above it):
# Run, Pause, Step, Reset, Grow, Low, Show every block, Settings..., Quit. The middle of the second one.
readonly FILE_ITEMS=9
xdotool mousemove $((popup_x + 30)) $((popup_y + popup_h * 3 / (2 * FILE_ITEMS))) click 1 2>/dev/null
keys Escape
sleep 0.3
app_running || fail "the window closed"
shoot
if ! cmp -s "$SHOT" "$E2E_TMP/startup.ppm"; then
  probe grid || true
  fail "the picture changed after F6, F2, Escape and a click on the grayed Pause"
fi

# Had Pause been delivered, the program would be paused now and refuse Run. Run by click.
open_file_menu
xdotool mousemove $((popup_x + 30)) $((popup_y + popup_h / (2 * FILE_ITEMS))) click 1 2>/dev/null
wait_until 20 "Run to start painting the INFORMATION row" frontier_at_least 1
# Quit by its mnemonic in the open menu, during the run.
open_file_menu
keys q
wait_exit 10
[[ $EXIT_STATUS == 0 ]] || fail "exit status $EXIT_STATUS after Quit"
echo "PASS: empty grid, grayed items not delivered, Escape ignored, Run and Quit from the menu"
