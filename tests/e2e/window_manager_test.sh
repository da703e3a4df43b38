#!/usr/bin/env bash
# Under a window manager: the window asks to be maximised, the grid is laid out for the client
# size the maximised window really gets, and the window manager's close request (Alt+F4) ends
# the program with exit status 0. Needs openbox; skipped where it is not installed.
source "$(dirname "$0")/e2e_lib.sh"

if ! command -v openbox >/dev/null 2>&1; then
  echo "SKIP: openbox is not installed"
  exit "$E2E_SKIP"
fi

start_session openbox --config-file /etc/xdg/openbox/rc.xml
state=$(xprop -id "$WINDOW" _NET_WM_STATE)
[[ $state == *_NET_WM_STATE_MAXIMIZED_VERT* && $state == *_NET_WM_STATE_MAXIMIZED_HORZ* ]] ||
  fail "the window is not maximised: $state"
((CLIENT_W == SCREEN_W)) || fail "the maximised client area is $CLIENT_W wide, not $SCREEN_W"
shoot
probe grid || fail "the empty grid for the maximised client size"

keys alt+F4
wait_exit 10
[[ $EXIT_STATUS == 0 ]] || fail "exit status $EXIT_STATUS after the window manager's close request"
echo "PASS: maximised to ${CLIENT_W}x${CLIENT_H}, grid laid out for it, Alt+F4 ended with status 0"
