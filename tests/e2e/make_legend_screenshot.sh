#!/usr/bin/env bash
# Makes the README's picture of the colour legend: Help > Colours of the window program in a
# virtual X server, the legend's window grabbed alone.
#   make_legend_screenshot.sh <mtd-demo> <mtd_e2e_probe> <output.png>
# Not a test; run it by hand after a change to the legend.
source "$(dirname "$0")/e2e_lib.sh"
picture_arguments "$@"

legend_shown() { LEGEND=$(xdotool search --onlyvisible --name '^Colours$' | head -n 1) && [[ -n $LEGEND ]]; }

start_session
xdotool mousemove --window "$WINDOW" 65 12 click 1 2>/dev/null
sleep 0.4
keys c
wait_until 10 "the Colours window" legend_shown
legend_drawn() {
  import -window "$LEGEND" -depth 8 "ppm:$E2E_TMP/legend.ppm" 2>/dev/null &&
    "$MTD_PROBE" legend "$E2E_TMP/legend.ppm" >/dev/null 2>&1
}
wait_until 10 "the legend's samples in the palette's colours" legend_drawn
convert "ppm:$E2E_TMP/legend.ppm" "$PICTURE"
picture_taken
