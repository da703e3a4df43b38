#!/usr/bin/env bash
# End-to-end tests of mtd-demo.exe under Wine, in a private Xvfb with Wine's virtual desktop.
#
#   wine_e2e.sh MTD_DEMO_EXE SCREEN_PROBE
#
# MTD_WINE_SCENARIOS names the scenarios to run (default: all but the quick start-and-quit,
# which serves checks of a packaged .exe).
#
# One Xvfb and one fresh Wine prefix serve every scenario; each scenario starts the program in
# its own working directory, drives it with xdotool and reads the screen with ImageMagick's
# import, which SCREEN_PROBE (mtd_e2e_probe, tests/e2e/probe/) compares with the picture the
# display must show. Exit status: 0 all passed, 1 something failed, 77 Wine or an X tool is
# missing. Everything started here is stopped on exit.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../xvfb.sh"

if [[ $# -ne 2 ]]; then
  echo "usage: $0 MTD_DEMO_EXE SCREEN_PROBE" >&2
  exit 2
fi
EXE=$(realpath "$1")
PROBE=$(realpath "$2")
readonly SKIP=77 SCREEN_WIDTH=1024 SCREEN_HEIGHT=768
readonly CAPTION='МНОГОПОРОГОВЫЙ ДЕКОДЕР (mtd-demo)'
# Wine takes its ANSI code page from the locale, and needs no system locale for it: Russian
# gives Windows-1251, the code page of the caption's bytes; C gives Windows-1252, where the
# program must show its caption through Unicode.
readonly RUSSIAN_LOCALE=ru_RU.UTF-8 WESTERN_LOCALE=C

first_executable() {
  local candidate
  for candidate in "$@"; do
    if [[ -n $candidate && -x $candidate ]]; then
      echo "$candidate"
      return 0
    fi
  done
  return 1
}
WINE=$(first_executable /usr/lib/wine/wine64 "$(command -v wine64)") || {
  echo "SKIP: no 64-bit Wine loader (Debian: wine64)"
  exit $SKIP
}
WINESERVER=$(first_executable /usr/lib/wine/wineserver "$(command -v wineserver)") || {
  echo "SKIP: no wineserver"
  exit $SKIP
}
for tool in Xvfb flock xdotool xprop import; do
  command -v "$tool" >/dev/null || {
    echo "SKIP: $tool is missing (Debian: xvfb, util-linux, xdotool, x11-utils, imagemagick)"
    exit $SKIP
  }
done
if [[ ! -f $EXE ]]; then
  echo "FAIL: $EXE was not built"
  exit 1
fi

WORK=$(mktemp -d "${TMPDIR:-/tmp}/mtd-wine.XXXXXX")
DEMO_PID=""
RUN_DIR=""
PASSED=0
FAILED=0
MENU_SEEN=""
HELD_INFO=""

log() { echo "[$(date +%T)] $*"; }
pass() {
  PASSED=$((PASSED + 1))
  log "PASS $*"
}
fail() {
  FAILED=$((FAILED + 1))
  log "FAIL $*"
  # MTD_WINE_KEEP_SHOT names a file for the screen as the failure left it.
  if [[ -n ${MTD_WINE_KEEP_SHOT:-} ]]; then
    import -window root "$MTD_WINE_KEEP_SHOT" 2>/dev/null
    xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | sed 's/^/  window: /'
  fi
  return 1
}

stop_demo() {
  if [[ -n $DEMO_PID ]]; then
    "$WINESERVER" -k 2>/dev/null
    wait "$DEMO_PID" 2>/dev/null
    DEMO_PID=""
  fi
}

cleanup() {
  trap '' INT TERM HUP  # a second signal must not cut the clean-up short
  stop_demo
  [[ -n ${WINEPREFIX:-} ]] && "$WINESERVER" -k 2>/dev/null
  xvfb_stop
  rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

# wait_until SECONDS COMMAND...: polls the command until it succeeds; fails after SECONDS.
wait_until() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    ((SECONDS >= deadline)) && return 1
    sleep 0.2
  done
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

setup_prefix() {
  export WINEPREFIX="$WORK/prefix" WINEARCH=win64 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko installer dialogs
  "$WINE" wineboot --init >"$WORK/wineboot.log" 2>&1 || return 1
  local explorer='HKCU\Software\Wine\Explorer'
  # The virtual desktop as large as the screen: without it the window is not maximised and
  # has no drawn caption.
  "$WINE" reg add "$explorer" /v Desktop /d Default /f >/dev/null 2>&1 || return 1
  "$WINE" reg add "$explorer\\Desktops" /v Default /d "${SCREEN_WIDTH}x${SCREEN_HEIGHT}" /f \
    >/dev/null 2>&1 || return 1
  # Windows has Arial; Wine would otherwise pick a serif face for the display's FF_ROMAN fonts.
  "$WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d 'Liberation Sans' /f \
    >/dev/null 2>&1 || return 1
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
  "$WINESERVER" -w
}

shot() { import -window root -depth 8 "$WORK/shot.ppm" 2>/dev/null; }
# probe COMMAND: the probe on the latest shot, for the program's configuration.
probe() { "$PROBE" "$1" "$RUN_DIR" "$WORK/shot.ppm" maximised "${@:2}"; }
# The defaults' picture, whatever init.txt the working directory holds now.
probe_defaults() { "$PROBE" "$1" "$WORK/defaults" "$WORK/shot.ppm" maximised "${@:2}"; }

demo_window() { xdotool search --name 'mtd-demo' 2>/dev/null | head -n 1; }
window_shown() { [[ -n $(demo_window) ]]; }
grid_shown() { shot && probe grid >"$WORK/probe.out" 2>&1; }
demo_exited() { [[ -s $RUN_DIR/exit-status ]]; }

keys() {
  xdotool windowfocus "$(xdotool search --name 'Wine desktop' | head -n 1)" 2>/dev/null
  xdotool key --delay 80 "$@"
}

# start_demo NAME LOCALE: the program in a fresh working directory, up to its first picture.
start_demo() {
  RUN_DIR="$WORK/$1"
  mkdir -p "$RUN_DIR"
  (
    cd "$RUN_DIR" || exit
    LC_ALL=$2 "$WINE" "$EXE" >wine.log 2>&1
    echo $? >exit-status
  ) &
  DEMO_PID=$!
  wait_until 90 window_shown || {
    fail "$1: the window did not appear"
    return 1
  }
  wait_until 30 grid_shown || {
    cat "$WORK/probe.out"
    fail "$1: the empty grid after start-up"
    return 1
  }
  pass "$1: the empty grid after start-up ($(head -n 1 "$WORK/probe.out"))"
  BLOCK_LENGTH=$(probe layout | sed -n 's/^K //p')
  # The menu bar lies just above the client area.
  MENU_BAR_Y=$(($(probe layout | sed -n 's/^client [0-9]* \([0-9]*\) .*/\1/p') - 9))
}

# expect_exit SECONDS WHAT: the program must end by itself with exit status 0.
expect_exit() {
  if ! wait_until "$1" demo_exited; then
    fail "$2: the program was still running after $1 s"
    return 1
  fi
  local status
  status=$(cat "$RUN_DIR/exit-status")
  wait "$DEMO_PID" 2>/dev/null
  DEMO_PID=""
  "$WINESERVER" -k 2>/dev/null
  [[ $status == 0 ]] || {
    fail "$2: exit status $status"
    return 1
  }
  pass "$2: the program ended with exit status 0"
}

info_field() { probe colours | tr ' ' '\n' | sed -n "s/^$1=//p"; }
first_cell_red() { shot && [[ $(info_field pos0) == red ]]; }
info_row_done() { shot && [[ $(info_field green) == 0 ]]; }
drawn_cells() {
  shot
  local green
  green=$(info_field green)
  echo $((BLOCK_LENGTH - green))
}

# The picture holds still: two grabs half a second apart are the same.
picture_still() {
  shot && cp "$WORK/shot.ppm" "$WORK/before.ppm" && sleep 0.5 && shot &&
    cmp -s "$WORK/shot.ppm" "$WORK/before.ppm"
}

menu_reads() { shot && MENU_SEEN=$(probe menu) && [[ $MENU_SEEN == "menu: $1" ]]; }

# The File menu before a run: Run, Pause, Step, Reset, Grow, Low, Show every block, Settings...,
# Quit.
readonly MENU_READY="enabled grayed grayed grayed enabled enabled enabled enabled enabled"

# expect_menu WHAT STATES: drops the File menu down, reads its items, closes it again.
expect_menu() {
  xdotool windowfocus "$(xdotool search --name 'Wine desktop' | head -n 1)" 2>/dev/null
  xdotool mousemove 12 "$MENU_BAR_Y" click 1
  MENU_SEEN=""
  wait_until 5 menu_reads "$2"
  # The first Escape closes the popup, the second leaves the menu bar.
  xdotool key --delay 150 Escape Escape
  [[ $MENU_SEEN == "menu: $2" ]] || {
    fail "$1: File menu reads '${MENU_SEEN:-nothing}', expected 'menu: $2'"
    return 1
  }
  pass "$1: File menu $2"
}

window_caption() { xprop -id "$(demo_window)" _NET_WM_NAME | sed -n 's/^[^"]*"\(.*\)"$/\1/p'; }
caption_reads() { [[ $(window_caption) == "$1" ]]; }

# expect_caption WHAT [CAPTION]: the window's title as the desktop shows it (by default the
# title alone), within a few seconds.
expect_caption() {
  local expected=${2:-$CAPTION}
  if wait_until 5 caption_reads "$expected"; then
    pass "$1: caption '$expected'"
  else
    fail "$1: caption '$(window_caption)', expected '$expected'"
  fi
}

progressed() { shot && [[ $(probe colours) != "$HELD_INFO" ]]; }

# hold_and_type KEYS...: holds the run with F6, then types while it is held.
hold_and_type() {
  keys F6
  wait_until 10 picture_still || return 1
  keys "$@"
}

scenario_start_pause_close() {
  start_demo start-pause-close $RUSSIAN_LOCALE || return 1
  expect_caption "Russian code page"
  expect_menu "ready" "$MENU_READY" || return 1

  # Pause and Reset are grayed: their keys must not arrive. A Reset would redraw the grid for
  # the init.txt it finds, here one with 1500 cells; a Pause would make the next Run refuse.
  printf 'nbl=1500\nkst=7\np=0.06\nndn=11\nkfp={22,0,24,75,110,151,183,257,411,426,496,522,543,579,648,689,714,733,789,796,814,824,856,899,922}\nktrh={10,2,1,0,0,0,0,0,0,0,0,0}\nmaxBlock=2000\nddn=22\ncheck\n' \
    >"$RUN_DIR/init.txt"
  keys F6 F2
  sleep 1
  if shot && probe_defaults grid >"$WORK/probe.out"; then
    pass "F6 and F2 before Run: the grid stays as it was"
  else
    cat "$WORK/probe.out"
    fail "F6 and F2 before Run changed the picture"
    return 1
  fi
  rm "$RUN_DIR/init.txt"

  # The defaults' first shown block has an information error at position 0: its turning red
  # shows that F5 started the run.
  local errors
  errors=$("$PROBE" errors "$RUN_DIR" | tr '\n' ' ')
  [[ " $errors" == *" 0 "* ]] || {
    fail "the defaults' first shown block has no information error at position 0"
    return 1
  }

  keys F5
  wait_until 20 first_cell_red || {
    fail "F5 did not start the run (position 0 of INFORMATION never turned red)"
    return 1
  }
  pass "F5 starts the run: INFORMATION position 0 turns red"
  keys F6
  wait_until 10 picture_still || {
    fail "F6 did not hold the run"
    return 1
  }
  pass "F6 holds the run"
  if probe info >"$WORK/probe.out"; then
    pass "first block's INFORMATION cells: $(head -n 1 "$WORK/probe.out")"
  else
    cat "$WORK/probe.out"
    fail "first block's INFORMATION cells"
  fi
  # Held, the run can be stepped; Settings waits for the run to end, as Run does.
  expect_menu "running" "grayed enabled enabled enabled enabled enabled enabled grayed enabled" ||
    return 1

  # Run is grayed during a run: F5 changes nothing; F6 resumes, F6 holds again.
  shot && HELD_INFO=$(probe colours)
  keys F5
  sleep 1
  if shot && [[ $(probe colours) == "$HELD_INFO" ]]; then
    pass "F5 during a run: the held picture stays"
  else
    fail "F5 during a run changed the picture"
  fi
  keys F6
  wait_until 10 progressed || {
    fail "the second F6 did not resume the run"
    return 1
  }
  keys F6
  wait_until 10 picture_still || {
    fail "the third F6 did not hold the run"
    return 1
  }
  pass "F6 resumes and holds the run again"

  keys alt+F4
  expect_exit 20 "Alt+F4 while held by Pause"
}

scenario_speed_and_quit() {
  start_demo speed-and-quit $WESTERN_LOCALE || return 1
  expect_caption "Western code page"
  keys F5
  wait_until 20 first_cell_red || {
    fail "F5 did not start the run"
    return 1
  }
  # The speed keys are given while the run is held, where every message is serviced at once
  # whatever the pace. 'G', typed with Shift and with Caps Lock, must not act: nineteen Grows
  # would take the pace to its fastest, so that the five Lows after them could not slow the
  # run down noticeably. Ignored, the Lows reach the slowest pace and the INFORMATION row
  # fills cell by cell for many seconds.
  hold_and_type shift+g shift+g shift+g shift+g shift+g shift+g shift+g shift+g shift+g \
    shift+g Caps_Lock g g g g g g g g g Caps_Lock l l l l l || {
    fail "F6 did not hold the run"
    return 1
  }
  keys F6
  sleep 1
  local d1 d2 t1 t2
  t1=$(now_ms)
  d1=$(drawn_cells)
  sleep 2
  t2=$(now_ms)
  d2=$(drawn_cells)
  if ((d2 >= BLOCK_LENGTH || d2 == d1)); then
    fail "'G' acted or the run did not resume: $d1 then $d2 INFORMATION cells drawn"
    return 1
  fi
  pass "'G' does nothing: the row fills slowly ($((d2 - d1)) cells in $((t2 - t1)) ms)"

  local t3 d3 t4
  hold_and_type g g g g g || {
    fail "F6 did not hold the run"
    return 1
  }
  d3=$(drawn_cells)
  keys F6
  t3=$(now_ms)
  wait_until 60 info_row_done || {
    fail "'g' did not speed the run up: the INFORMATION row was not complete after 60 s"
    return 1
  }
  t4=$(now_ms)
  # At the slow pace the rest of the row would have taken remaining / rate; 'g' must cut that
  # at least threefold (five halvings make it about thirtyfold).
  local remaining=$((BLOCK_LENGTH - d3)) slowCells=$((d2 - d1)) slowMs=$((t2 - t1))
  if (((t4 - t3) * slowCells * 3 > remaining * slowMs)); then
    fail "'g' did not speed the run up: $remaining cells took $((t4 - t3)) ms"
    return 1
  fi
  pass "'g' speeds the run up: the last $remaining cells took $((t4 - t3)) ms"

  keys F10
  expect_exit 20 "F10 during a run"
}

# Step and the caption: held in the first noise pass at an eighth of the loaded pace, s paints
# one more INFORMATION cell and holds again; the caption says held and the speed, in the
# Russian code page where the title itself is stored in Windows-1251.
scenario_step_and_caption() {
  start_demo step-and-caption $RUSSIAN_LOCALE || return 1
  keys F5 l l l
  expect_caption "an eighth of the pace" "$CAPTION — speed ×1/8"
  local held
  wait_until 60 eval '(($(drawn_cells) >= 20))' || {
    fail "the first noise pass did not reach 20 cells"
    return 1
  }
  keys F6
  wait_until 10 picture_still || {
    fail "F6 did not hold the run"
    return 1
  }
  expect_caption "held" "$CAPTION — paused — speed ×1/8"
  held=$(drawn_cells)
  keys s
  if wait_until 10 eval '(($(drawn_cells) == held + 1))' && wait_until 10 picture_still &&
    (($(drawn_cells) == held + 1)); then
    pass "s while held paints one more cell ($held, then $((held + 1))) and holds again"
  else
    fail "s while held at $held cells: $(drawn_cells) cells painted"
  fi
  keys F6
  expect_caption "resumed" "$CAPTION — speed ×1/8"
  keys F10
  expect_exit 20 "F10 during a run"
}

# A top-level window of the program by its exact title, shown on the desktop.
shown_window() {
  local pattern
  pattern=$(sed 's/[][().^$*+?{}|\\]/\\&/g' <<<"$1")
  xdotool search --onlyvisible --name "^$pattern\$" 2>/dev/null | head -n 1
}
window_named() { [[ -n $(shown_window "$1") ]]; }
window_gone() { [[ -z $(shown_window "$1") ]]; }

# open_menu_item KEYS...: drops the File menu down and types the keys (mnemonics, arrows).
open_menu_item() {
  xdotool windowfocus "$(xdotool search --name 'Wine desktop' | head -n 1)" 2>/dev/null
  xdotool mousemove 12 "$MENU_BAR_Y" click 1
  sleep 0.5
  xdotool key --delay 150 "$@"
}

# expect_window TITLE WHAT: the window must appear.
expect_window() {
  if wait_until 15 window_named "$1"; then
    pass "$2: the window '$1' is shown"
  else
    fail "$2: no window '$1'"
    return 1
  fi
}

typed() { xdotool type --delay 80 "$1"; }

# The legend's client area is the bottom of its window, centred between the frame's sides.
legend_drawn() {
  local id width height
  id=$(shown_window Colours)
  import -window "$id" -depth 8 "ppm:$WORK/legend-window.ppm" 2>/dev/null || return 1
  read -r width height < <(identify -format '%w %h' "ppm:$WORK/legend-window.ppm")
  if [[ -n ${MTD_WINE_KEEP_SHOT:-} ]]; then
    convert "ppm:$WORK/legend-window.ppm" "${MTD_WINE_KEEP_SHOT%.png}-legend.png"
  fi
  local client_w=600 client_h=460
  convert "ppm:$WORK/legend-window.ppm" \
    -crop "${client_w}x${client_h}+$(((width - client_w) / 2))+$((height - client_h - (width - client_w) / 2))" \
    +repage -depth 8 "ppm:$WORK/legend.ppm" &&
    "$PROBE" legend "$WORK/legend.ppm" >"$WORK/legend.out" 2>&1
}

# Help > Colours and Help > About open their windows; File > Settings... refuses a bad p
# naming the field and writes init.txt (the old one kept as init.txt.bak) on OK, and the next
# Run shows the first block of the values typed in.
scenario_dialogs() {
  start_demo dialogs $WESTERN_LOCALE || return 1
  expect_menu "ready" "$MENU_READY" || return 1
  write_defaults "$RUN_DIR/init.txt"

  open_menu_item Right c
  expect_window Colours "Help > Colours" || return 1
  wait_until 10 legend_drawn && pass "the legend's samples in the palette's colours" ||
    fail "the legend's samples: $(cat "$WORK/legend.out")"
  xdotool key --delay 150 alt+F4
  wait_until 10 window_gone Colours || fail "Alt+F4 did not close the legend"

  open_menu_item Right a
  expect_window "About mtd-demo" "Help > About" || return 1
  xdotool key --delay 150 Return
  wait_until 10 window_gone "About mtd-demo" || fail "Return did not close About"

  open_menu_item n
  expect_window Settings "File > Settings..." || return 1
  typed 1.5
  xdotool key --delay 150 Return
  expect_window "Settings: Error probability (p)" "p = 1.5 refused, the field named" || return 1
  cmp -s "$RUN_DIR/init.txt" "$WORK/defaults.txt" || fail "init.txt changed after a refusal"
  xdotool key --delay 150 Return
  wait_until 10 window_gone "Settings: Error probability (p)" || return 1
  # The refused field is selected again: typing replaces it.
  typed 0.06
  xdotool key --delay 150 Tab
  typed 12345
  xdotool key --delay 150 Return
  wait_until 10 window_gone Settings || {
    fail "OK did not close the settings dialog"
    return 1
  }
  if grep -q '^kst=12345 ' "$RUN_DIR/init.txt" && cmp -s "$RUN_DIR/init.txt.bak" "$WORK/defaults.txt"
  then
    pass "OK wrote init.txt with kst=12345 and kept the old file as init.txt.bak"
  else
    fail "init.txt after OK: $(head -n 3 "$RUN_DIR/init.txt" | tr '\n' ' ')"
    return 1
  fi

  keys F5
  wait_until 30 first_cell_painted || {
    fail "F5 after Settings did not start the run"
    return 1
  }
  keys F6
  wait_until 10 picture_still || return 1
  if probe info >"$WORK/probe.out"; then
    pass "the next Run shows kst=12345's first block: $(head -n 1 "$WORK/probe.out")"
  else
    cat "$WORK/probe.out"
    fail "the next Run's INFORMATION cells are not those of kst=12345"
  fi
  keys F10
  expect_exit 20 "F10 after the dialogs"
}

first_cell_painted() { shot && [[ $(info_field pos0) != green ]]; }

# The defaults as a file of their own, to compare init.txt.bak with.
write_defaults() {
  printf 'nbl=1000\nkst=7\np=0.06\nndn=11 checks\nkfp={22,0,24,75,110,151,183,257,411,426,496,522,543,579,648,689,714,733,789,796,814,824,856,899,922}\nktrh={10,2,1,0,0,0,0,0,0,0,0,0}\nmaxBlock=2000\nddn=22\ncheck\n' \
    >"$WORK/defaults.txt"
  cp "$WORK/defaults.txt" "$1"
}

# The quickest whole check: the program starts, draws the defaults' grid under its caption
# and ends with status 0 on F10.
scenario_start_and_quit() {
  start_demo start-and-quit $RUSSIAN_LOCALE || return 1
  expect_caption "start and quit"
  keys F10
  expect_exit 20 "F10 before a run"
}

log "mtd-demo.exe under $("$WINE" --version), screen ${SCREEN_WIDTH}x${SCREEN_HEIGHT}"
xvfb_start "$SCREEN_WIDTH" "$SCREEN_HEIGHT" "$WORK" || {
  echo "FAIL: Xvfb did not start"
  exit 1
}
setup_prefix || {
  cat "$WORK/wineboot.log"
  echo "FAIL: the Wine prefix could not be made"
  exit 1
}
log "prefix ready in $WINEPREFIX, display $DISPLAY"
mkdir -p "$WORK/defaults"
BLOCK_LENGTH=0
MENU_BAR_Y=0

for scenario in ${MTD_WINE_SCENARIOS:-scenario_start_pause_close scenario_speed_and_quit scenario_step_and_caption scenario_dialogs}; do
  "$scenario"
  stop_demo
done

echo "$PASSED passed, $FAILED failed"
((FAILED == 0 && PASSED > 0))
