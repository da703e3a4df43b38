# Shared by the end-to-end tests (sourced): a virtual X server of a fixed size, the window
# program in a temporary directory, keys, screenshots and polling. Every wait polls a condition
# with a time limit; cleanup ends only the processes started here.
#
# The test is given MTD_DEMO (the program), MTD_PROBE (the screenshot checker) and MTD_CLOSE
# (the close-request sender) in its environment by CTest; the scripts that make the README's
# pictures take them from their arguments (picture_arguments).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"

readonly E2E_SKIP=77
readonly SCREEN_W=1024
readonly SCREEN_H=768

for tool in Xvfb flock xdotool import xwininfo xprop; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed"
    exit "$E2E_SKIP"
  fi
done

E2E_TMP=$(mktemp -d)
RUN_DIR=$E2E_TMP/run
SHOT=$E2E_TMP/shot.ppm
WM_PID=
APP_PID=
WINDOW=
CLIENT=
CLIENT_X=0
CLIENT_Y=0
CLIENT_W=0
CLIENT_H=0

e2e_cleanup() {
  if [[ -n $APP_PID ]]; then
    kill "$APP_PID" 2>/dev/null || true
    wait "$APP_PID" 2>/dev/null || true
  fi
  if [[ -n $WM_PID ]]; then
    kill "$WM_PID" 2>/dev/null || true
    wait "$WM_PID" 2>/dev/null || true
  fi
  xvfb_stop
  rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  if [[ -s $E2E_TMP/app.log ]]; then
    echo "mtd-demo said:" >&2
    tail -n 20 "$E2E_TMP/app.log" >&2
  fi
  if [[ -n $XVFB_PID ]] && ! kill -0 "$XVFB_PID" 2>/dev/null; then
    echo "Xvfb (display ${DISPLAY:-}) has ended" >&2
  fi
  if [[ -s $E2E_TMP/wm.log ]]; then
    echo "the window manager said:" >&2
    tail -n 20 "$E2E_TMP/wm.log" >&2
  fi
  if [[ -s $E2E_TMP/xvfb.log ]]; then
    echo "Xvfb said:" >&2
    tail -n 20 "$E2E_TMP/xvfb.log" >&2
  fi
  if [[ -n ${E2E_KEEP_SHOT:-} && -f $SHOT ]]; then cp "$SHOT" "$E2E_KEEP_SHOT"; fi
  exit 1
}

# wait_until <seconds> <what> <command...>: polls the command until it succeeds.
wait_until() {
  local limit=$1 what=$2
  shift 2
  local deadline=$((SECONDS + limit))
  until "$@"; do
    ((SECONDS < deadline)) || fail "timed out after ${limit}s waiting for $what"
    sleep 0.1
  done
}

# The built-in defaults, written out as the configuration file the tests choose (the word
# after the ndn value is read and skipped).
write_default_config() {
  cat >"$RUN_DIR/init.txt" <<'CONFIG'
nbl=1000
kst=7
p=0.06
ndn=11 checks
kfp={22,0,24,75,110,151,183,257,411,426,496,522,543,579,648,689,714,733,789,796,814,824,856,899,922}
ktrh={10,2,1,0,0,0,0,0,0,0,0,0}
maxBlock=2000
ddn=22
check
CONFIG
}

start_x() { xvfb_start "$SCREEN_W" "$SCREEN_H" "$E2E_TMP" || fail "no X server could be started"; }

# A window manager that follows the extended hints is in charge once it names itself on the root.
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# start_window_manager <command...>
start_window_manager() {
  "$@" >"$E2E_TMP/wm.log" 2>&1 &
  WM_PID=$!
  wait_until 20 "the window manager" wm_ready
}

app_running() { [[ -n $APP_PID ]] && kill -0 "$APP_PID" 2>/dev/null; }

find_window() {
  app_running || return 0  # judged by the caller
  WINDOW=$(xdotool search --name 'mtd-demo' 2>/dev/null | head -n 1)
  [[ -n $WINDOW ]]
}

# The client area is the main window's only child window.
find_client() {
  CLIENT=$(xwininfo -id "$WINDOW" -children | awk '/child(ren)?:/ {getline; print $1; exit}')
  [[ -n $CLIENT ]] || return 1
  local info
  info=$(xwininfo -id "$CLIENT")
  CLIENT_X=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$info")
  CLIENT_Y=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$info")
  CLIENT_W=$(awk '/Width:/ {print $2}' <<<"$info")
  CLIENT_H=$(awk '/Height:/ {print $2}' <<<"$info")
}

shoot() { import -window root -depth 8 "ppm:$SHOT"; }

# probe <command> [argument]: the screenshot checker on the latest screenshot.
probe() {
  "$MTD_PROBE" "$1" "$RUN_DIR" "$SHOT" "${CLIENT_W}x${CLIENT_H}+${CLIENT_X}+${CLIENT_Y}" "${@:2}"
}

# The client area is read again at every poll: a window manager may still move the window.
grid_drawn() { find_client && shoot && probe grid >/dev/null 2>&1; }

# Starts the program in its own directory and waits for the maximised window's empty grid.
# Fails with status 1 when the program cannot reach the X server.
start_app() {
  (cd "$RUN_DIR" && exec "$MTD_DEMO") >"$E2E_TMP/app.log" 2>&1 &
  APP_PID=$!
  wait_until 20 "the main window" find_window
  if ! app_running; then
    grep -q "Can't open display" "$E2E_TMP/app.log" && return 1
    fail "mtd-demo ended during start-up"
  fi
  wait_until 20 "the client area" find_client
  wait_until 20 "the empty grid" grid_drawn
  xdotool windowfocus --sync "$WINDOW" 2>/dev/null
}

keys() { xdotool key --delay 40 "$@" 2>/dev/null; }

# The open popup of the menu bar: a window of the root without a name, taller than the menu
# bar's title. Its id goes to POPUP.
menu_open() {
  POPUP=$(xwininfo -root -children |
    awk '/\(has no name\)/ { split($6, size, /[x+]/); if (size[2] > 60) { print $1; exit } }')
  [[ -n $POPUP ]]
}

# open_file_menu: a click on the menu bar's File title; waits for its popup.
open_file_menu() {
  xdotool mousemove --window "$WINDOW" 20 12 click 1 2>/dev/null
  wait_until 10 "the File menu to open" menu_open
}

information_frontier() {
  shoot
  probe frontier
}

# Pause is serviced at the run's next step: held once two screenshots in a row are the same.
picture_still() {
  shoot
  cp "$SHOT" "$E2E_TMP/previous.ppm"
  sleep 0.3
  shoot
  cmp -s "$SHOT" "$E2E_TMP/previous.ppm"
}

frontier_at_least() { (($(information_frontier) >= $1)); }

# wait_exit <seconds>: the program must end within the time; its exit status goes to
# EXIT_STATUS (not run in a subshell: only this shell can wait for its child).
EXIT_STATUS=
wait_exit() {
  local limit=$1 deadline=$((SECONDS + $1))
  while app_running; do
    ((SECONDS < deadline)) || fail "mtd-demo still running after ${limit}s"
    sleep 0.1
  done
  EXIT_STATUS=0
  wait "$APP_PID" || EXIT_STATUS=$?
  APP_PID=
}

# start_session [window manager command...]
# The configuration is the defaults written out, or E2E_CONFIG's text when the test sets it.
# Other X servers may start on the machine at the same moment and contend for the display
# number that Xvfb picks; a program that cannot reach its server is started again on a new one.
start_session() {
  mkdir -p "$RUN_DIR"
  if [[ -n ${E2E_CONFIG:-} ]]; then
    printf '%s' "$E2E_CONFIG" >"$RUN_DIR/init.txt"
  else
    write_default_config
  fi
  local attempt
  for attempt in 1 2 3; do
    start_x
    if (($# > 0)); then start_window_manager "$@"; fi
    if start_app; then
      echo "client area ${CLIENT_W}x${CLIENT_H} at ${CLIENT_X},${CLIENT_Y} on a ${SCREEN_W}x${SCREEN_H} screen"
      return 0
    fi
    echo "mtd-demo could not reach display $DISPLAY; starting another X server" >&2
    wait "$APP_PID" 2>/dev/null || true
    APP_PID=
    if [[ -n $WM_PID ]]; then
      kill "$WM_PID" 2>/dev/null || true
      wait "$WM_PID" 2>/dev/null || true
      WM_PID=
    fi
    xvfb_stop
  done
  fail "mtd-demo could not reach any X server it was started on"
}

# The scripts that make the README's pictures take <mtd-demo> <mtd_e2e_probe> <output.png>.
# picture_arguments "$@" sets MTD_DEMO, MTD_PROBE and PICTURE from them, or shows the usage and
# exits 2.
picture_arguments() {
  if [[ $# -ne 3 ]]; then
    echo "usage: $0 <mtd-demo> <mtd_e2e_probe> <output.png>" >&2
    exit 2
  fi
  MTD_DEMO=$(realpath "$1")
  MTD_PROBE=$(realpath "$2")
  PICTURE=$(realpath -m "$3")
}

# picture_taken: the picture is in PICTURE; F10 ends the program, which must end by itself.
picture_taken() {
  keys F10
  wait_exit 10
  echo "wrote $PICTURE"
}
