#!/usr/bin/env bash
# The Help menu's windows and the settings dialog as a user meets them: Colours draws the
# legend in the palette's colours, About opens and closes; Settings refuses p = 1.5 in a
# message titled with the field, then writes init.txt (the old one kept as init.txt.bak) on
# OK, and the next Run animates the first block of the values typed in.
source "$(dirname "$0")/e2e_lib.sh"

# A shown top-level window by its exact title (regular expression characters escaped).
shown_window() {
  local pattern
  pattern=$(sed 's/[][().^$*+?{}|\\]/\\&/g' <<<"$1")
  xdotool search --onlyvisible --name "^$pattern\$" 2>/dev/null | head -n 1
}
window_named() { [[ -n $(shown_window "$1") ]]; }
window_gone() { [[ -z $(shown_window "$1") ]]; }

# menu_pick X KEYS...: opens the menu bar's popup whose title is at X, then types the keys.
menu_pick() {
  xdotool mousemove --window "$WINDOW" "$1" 12 click 1 2>/dev/null
  sleep 0.4
  shift
  keys "$@"
}
readonly FILE_X=20 HELP_X=65

start_session
cp "$RUN_DIR/init.txt" "$E2E_TMP/before.txt"

# Help > Colours: the legend's own window, drawn with the palette.
menu_pick $HELP_X c
wait_until 10 "the Colours window" window_named Colours
LEGEND=$(shown_window Colours)
legend_drawn() {
  import -window "$LEGEND" -depth 8 "ppm:$E2E_TMP/legend.ppm" 2>/dev/null &&
    "$MTD_PROBE" legend "$E2E_TMP/legend.ppm" >"$E2E_TMP/legend.out" 2>&1
}
wait_until 10 "the legend's samples in the palette's colours" legend_drawn
cat "$E2E_TMP/legend.out"
xdotool windowfocus --sync "$LEGEND" 2>/dev/null
keys Escape
wait_until 10 "Escape to close the legend" window_gone Colours
xdotool windowfocus --sync "$WINDOW" 2>/dev/null

# Help > About, closed with Return.
menu_pick $HELP_X a
wait_until 10 "the About window" window_named "About mtd-demo"
keys Return
wait_until 10 "Return to close About" window_gone "About mtd-demo"

# File > Settings...: the first field is selected, so typing replaces it.
menu_pick $FILE_X n
wait_until 10 "the Settings dialog" window_named Settings
xdotool type --delay 60 1.5 2>/dev/null
keys Return
wait_until 10 "the refusal naming p" window_named "Settings: Error probability (p)"
cmp -s "$RUN_DIR/init.txt" "$E2E_TMP/before.txt" || fail "init.txt changed after a refusal"
[[ ! -e $RUN_DIR/init.txt.bak ]] || fail "init.txt.bak made after a refusal"
keys Return
wait_until 10 "the refusal to close" window_gone "Settings: Error probability (p)"
window_named Settings || fail "the dialog closed with the refusal"
xdotool type --delay 60 0.06 2>/dev/null
keys Tab
xdotool type --delay 60 12345 2>/dev/null
keys Return
wait_until 10 "OK to close the dialog" window_gone Settings
grep -q '^kst=12345 ' "$RUN_DIR/init.txt" || fail "init.txt has no kst=12345 after OK"
grep -q '^p=0.06 ' "$RUN_DIR/init.txt" || fail "init.txt has no p=0.06 after OK"
cmp -s "$RUN_DIR/init.txt.bak" "$E2E_TMP/before.txt" || fail "init.txt.bak is not the old file"
wait_until 10 "the grid drawn again" grid_drawn

# The next Run animates the first shown block of kst=12345: its noise on INFORMATION.
xdotool windowfocus --sync "$WINDOW" 2>/dev/null
keys F5
wait_until 30 "the run to paint INFORMATION" frontier_at_least 20
keys F6
wait_until 20 "Pause to hold the run" picture_still
probe info 20 || fail "the INFORMATION cells are not those of kst=12345's first shown block"

keys F10
wait_exit 10
[[ $EXIT_STATUS == 0 ]] || fail "exit status $EXIT_STATUS after F10"
echo "PASS: legend in the palette's colours, About, Settings refused p=1.5 naming it and wrote kst=12345, which the next Run used"
