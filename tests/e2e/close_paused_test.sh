#!/usr/bin/env bash
# Closing the window while the run is held by Pause ends the program with exit status 0; the
# held run does not resume.
source "$(dirname "$0")/e2e_lib.sh"

start_session
keys F5 l l l l
wait_until 30 "the noise pass to start" frontier_at_least 5
keys F6
wait_until 10 "Pause to hold the run" picture_still
held_at=$(probe frontier)
sleep 0.5
(($(information_frontier) == held_at)) || fail "the run went on after Pause"

"$MTD_CLOSE" "$WINDOW"
wait_exit 10
[[ $EXIT_STATUS == 0 ]] || fail "exit status $EXIT_STATUS after closing the held window"
echo "PASS: held at $held_at INFORMATION cells, the close request ended the program with status 0"
