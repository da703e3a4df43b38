#!/usr/bin/env bash
# The window's timer: the statistics screen's 5000 ms wait ends by itself, Pause during it
# freezes it for as long as it takes, and a second Pause ends it at once.
source "$(dirname "$0")/e2e_lib.sh"

# The statistics screen covers the rows: no DIFFERENCE cell keeps its colour.
statistics_shown() {
  shoot
  (($(probe changed 0) == 1000))
}

statistics_gone() { ! statistics_shown; }

start_session
# The fastest pace, so that the first shown block is decoded in a few seconds.
keys F5 $(printf 'g %.0s' {1..19})
wait_until 120 "the first statistics screen" statistics_shown
keys F6
wait_until 10 "Pause to hold the statistics screen" picture_still
cp "$SHOT" "$E2E_TMP/frozen.ppm"
# Longer than the whole wait: frozen, the statistics screen stays.
sleep 5.5
shoot
cmp -s "$SHOT" "$E2E_TMP/frozen.ppm" || fail "Pause did not freeze the statistics screen's wait"
keys F6
# The wait ends at once: the rows come back (and the next block starts at once, at this pace).
wait_until 3 "the statistics screen to end after the second Pause" statistics_gone

# The next shown block runs through its waits on the timer alone.
wait_until 120 "the second statistics screen" statistics_shown
wait_until 15 "the timer to end the statistics screen's wait" statistics_gone
keys F10
wait_exit 10
[[ $EXIT_STATUS == 0 ]] || fail "exit status $EXIT_STATUS after F10"
echo "PASS: the timed wait ends by the timer, freezes with Pause and ends with a second Pause"
