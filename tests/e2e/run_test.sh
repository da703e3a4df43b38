#!/usr/bin/env bash
# A run of the default configuration: F5 starts it and the first shown block's noise turns
# the INFORMATION cells red at its error positions and cyan elsewhere; F6 holds the picture;
# 'G' leaves the pace alone where 'g' speeds it up; F10 during the run ends the program with
# exit status 0.
source "$(dirname "$0")/e2e_lib.sh"

start_session
errors=$("$MTD_PROBE" errors "$RUN_DIR" | tr '\n' ' ')
echo "first shown block's information errors: ${errors:0:80}..."
[[ " $errors" == *" 0 "* ]] || fail "the default configuration's first shown block has no error at position 0"

# Run, then Low four times: sixteen times the loaded pace, so the first cells can be watched.
keys F5 l l l l
wait_until 30 "the noise pass to paint INFORMATION cells 0 to 19" frontier_at_least 20
keys F6
wait_until 10 "Pause to hold the run" picture_still
held_at=$(probe frontier)
cp "$SHOT" "$E2E_TMP/held.ppm"
probe info 20 || fail "the INFORMATION cells painted (at least 20) by the first shown block's noise"
sleep 0.5
shoot
cmp -s "$SHOT" "$E2E_TMP/held.ppm" || fail "the picture changed while the run was held"
echo "held with $held_at INFORMATION cells painted"

# cells_per_second <seconds>: how fast the noise pass paints while running.
cells_per_second() {
  local from to started elapsed
  from=$(information_frontier)
  started=$(date +%s%N)
  sleep "$1"
  to=$(information_frontier)
  elapsed=$((($(date +%s%N) - started) / 1000000))
  echo $(((to - from) * 1000 / elapsed)) "$to"
}

# Upper-case G nineteen times while held (with Shift, as typed): Grow must not act.
keys $(printf 'G %.0s' {1..19})
keys F6
read -r slow_rate frontier < <(cells_per_second 1)
echo "after 'G' x19: $slow_rate cells per second, $frontier painted"
((frontier < 1000)) || fail "'G' sped the run up: the INFORMATION row finished within a second"

# Lower-case g nineteen times: the shortest pace, far faster than before.
keys $(printf 'g %.0s' {1..19})
fast_started=$(date +%s%N)
wait_until 60 "the INFORMATION row to be finished" frontier_at_least 1000
fast_ms=$((($(date +%s%N) - fast_started) / 1000000))
remaining=$((1000 - frontier))
echo "after 'g' x19: the remaining $remaining cells in ${fast_ms} ms"
# At the slow pace the remaining cells would take remaining / slow_rate seconds; Grow must make
# it at least four times faster (the pace falls from 80,000,000 to 10 decrements per cell).
((fast_ms * slow_rate * 4 < remaining * 1000)) || fail "'g' did not speed the run up"

keys F10
wait_exit 10
[[ $EXIT_STATUS == 0 ]] || fail "exit status $EXIT_STATUS after F10 during the run"
echo "PASS: noise of the first shown block, hold, 'G' ignored, 'g' faster, F10 ended with status 0"
