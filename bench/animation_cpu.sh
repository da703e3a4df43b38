#!/usr/bin/env bash
# CPU use of the FLTK window program while it animates at the loaded pace: the program runs
# the built-in configuration in a private Xvfb, F5 starts the run, and the processor time it
# takes (user + system, from /proc/<pid>/stat) is divided by the wall time of the window.
#
#   bench/animation_cpu.sh MTD_DEMO [SECONDS]
#
# SECONDS (default 10) is the measured window; it starts 2 s after F5 and must end before the
# first block's waits (the noise passes and the decoding take about a minute at this pace).
set -euo pipefail
source "$(dirname "$0")/../tests/e2e/xvfb.sh"

demo=$(realpath "$1")
seconds=${2:-10}
work=$(mktemp -d)
app=
cleanup() {
  if [[ -n $app ]]; then
    kill "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
  fi
  xvfb_stop
  rm -rf "$work"
}
trap cleanup EXIT

# Without init.txt the program takes its built-in defaults.
xvfb_start 1024 768 "$work"
(cd "$work" && exec "$demo") >"$work/app.log" 2>&1 &
app=$!
window=
for _ in $(seq 100); do
  window=$(xdotool search --name 'mtd-demo' 2>/dev/null | head -n 1) && [[ -n $window ]] && break
  sleep 0.1
done
[[ -n $window ]] || { echo "no window" >&2; exit 1; }
sleep 2
xdotool windowfocus --sync "$window" key F5
sleep 2

ticks_per_second=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$app/stat"; }
before=$(cpu_ticks)
started=$(date +%s%N)
sleep "$seconds"
after=$(cpu_ticks)
elapsed_ns=$(($(date +%s%N) - started))
echo "$(basename "$demo"): $(awk -v t=$((after - before)) -v hz="$ticks_per_second" \
  -v ns="$elapsed_ns" 'BEGIN {printf "%.1f", 100 * t / hz / (ns / 1e9)}')% of a core while" \
  "animating at the loaded pace, over $((elapsed_ns / 1000000)) ms"
