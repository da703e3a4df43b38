# shellcheck shell=bash
# Shared by the end-to-end scripts (sourced): a private Xvfb for one test.
#
#   xvfb_start <width> <height> <directory>
#       starts a server with a screen of that size and 24-bit colour, exports its DISPLAY and
#       keeps its pid in XVFB_PID; its output goes to <directory>/xvfb.log. Returns 1 when five
#       servers in a row would not start.
#   xvfb_stop
#       stops it (at once if it ignores the polite request) and clears XVFB_PID.
#
# Safe under `set -e`; uses Xvfb, flock and xprop.
XVFB_PID=

# One attempt at a server: it must choose a display and take connections. It must not reset
# when its last client leaves, or a program connecting just then would find no server.
xvfb_try() {
  local width=$1 height=$2 directory=$3
  local display_file=$directory/display deadline=$((SECONDS + 20))
  : >"$display_file"
  Xvfb -displayfd 3 -screen 0 "${width}x${height}x24" -nolisten tcp -noreset 3>"$display_file" \
    >"$directory/xvfb.log" 2>&1 {lock}>&- &
  XVFB_PID=$!
  until grep -qs '^[0-9]' "$display_file"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
  DISPLAY=":$(head -n 1 "$display_file")"
  export DISPLAY
  deadline=$((SECONDS + 20))
  until xprop -root >/dev/null 2>&1; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}

xvfb_start() {
  # Two servers choosing their display at the same moment can collide, so the tests of one
  # machine start theirs one at a time: the lock is held until the server takes connections
  # (and not inherited by it).
  local lock attempt started=1
  exec {lock}>>"${TMPDIR:-/tmp}/mtd-e2e-xvfb.lock"
  flock "$lock"
  for attempt in 1 2 3 4 5; do
    if xvfb_try "$@"; then
      started=0
      break
    fi
    echo "Xvfb attempt $attempt on display ${DISPLAY:-?} failed; trying another" >&2
    xvfb_stop
  done
  flock -u "$lock"
  exec {lock}>&-
  return "$started"
}

xvfb_stop() {
  [[ -n $XVFB_PID ]] || return 0
  kill "$XVFB_PID" 2>/dev/null || true
  local tries
  for ((tries = 0; tries < 25; tries++)); do
    if [[ $(ps -o stat= -p "$XVFB_PID" 2>/dev/null) == Z* || -z $(ps -o pid= -p "$XVFB_PID") ]]; then
      break
    fi
    sleep 0.2
  done
  kill -KILL "$XVFB_PID" 2>/dev/null || true
  wait "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=
}
