#!/usr/bin/env bash
# mtd-sim record draws what the window shows: for the same screen, client area and block, the
# cells of recorded frames equal those of the FLTK window at the same moments, read from the
# virtual X server (a step of the noise pass held by Pause, and the wait after the decoding).
# Text is anti-aliased differently by the two, so only the cells are compared.
source "$(dirname "$0")/e2e_lib.sh"
if ! command -v convert >/dev/null 2>&1; then
  echo "SKIP: ImageMagick's convert is not installed"
  exit "$E2E_SKIP"
fi

# record_frame <name> <options...>: one frame of the first block, recorded for this window.
record_frame() {
  local name=$1
  shift
  "$MTD_SIM" record -C "$RUN_DIR" --size "${SCREEN_W}x${SCREEN_H}" \
    --client "${CLIENT_W}x${CLIENT_H}" "$@" "$E2E_TMP/$name.png" 2>>"$E2E_TMP/record.log" ||
    fail "mtd-sim record $* failed: $(cat "$E2E_TMP/record.log")"
  convert "$E2E_TMP/$name.png" -depth 8 "ppm:$E2E_TMP/$name.ppm"
}

start_session
# Pause holds the run right after a step of the first noise pass; the INFORMATION cells painted
# count the steps.
keys F5
sleep 0.5
keys F6
wait_until 20 "Pause to hold the noise pass" picture_still
frontier=$(probe frontier)
((frontier >= 1 && frontier < 1000)) ||
  fail "Pause held the run at INFORMATION frontier $frontier, outside the first noise pass"
record_frame noise --speed 1 --frame $((frontier - 1))
probe match "$E2E_TMP/noise.ppm" || fail "the noise pass at step $frontier differs from its frame"

# At the fastest pace the decoding changes the picture all the time; the wait after it holds
# the decoded block still for 5 seconds, before the statistics screen covers the rows.
keys F6 $(printf 'g %.0s' {1..19})
waiting_after_decoding() { picture_still && (($(probe changed 0) < 1000)); }
wait_until 120 "the wait after the decoding" waiting_after_decoding
record_frame wait --start wait --frame 0
probe match "$E2E_TMP/wait.ppm" || fail "the decoded block differs from the wait's frame"

keys F10
wait_exit 10
[[ $EXIT_STATUS == 0 ]] || fail "exit status $EXIT_STATUS after F10"
echo "PASS: the recorded frames' cells equal the window's at a noise step and in the wait"
