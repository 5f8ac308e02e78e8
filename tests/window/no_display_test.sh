#!/usr/bin/env bash
# The real game with no display (DISPLAY unset, or naming a display no server
# answers) must not run unseen: a message on standard error, exit status 2.
# SIGTERM and SIGINT close it as the window manager's close does (exit 0, no
# crash), in a virtual X display and on the offscreen driver asked for by name.
# usage: no_display_test.sh GAME DATA_DIR
set -euo pipefail
game=$(realpath "$1")
data=$2
work=$(mktemp -d)
xvfb_pid=""
game_pid=""
trap '[[ -n "$game_pid" ]] && kill -KILL "$game_pid"; [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid"; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; cat "$work/err" >&2 2>/dev/null; exit 1; }
export SDL_AUDIODRIVER=dummy
cd "$data"

n=4000
while [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]]; do n=$((n + 1)); done
for display in "" ":$n"; do
  status=0
  env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER ${display:+DISPLAY=$display} \
    timeout -s KILL 20 "$game" </dev/null >/dev/null 2>"$work/err" || status=$?
  [[ $status -eq 2 ]] || fail "DISPLAY '$display': exit status $status, not 2 (137: still running after 20 s)"
  message=$(grep -m1 '^Inkblot Fighter: the window could not be created' "$work/err") ||
    fail "DISPLAY '$display': no message on standard error"
  echo "DISPLAY '$display': exit status 2, '$message'"
done

exec 3<> "$work/displayfd"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [[ -s "$work/displayfd" ]] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/displayfd")"
for driver in x11 offscreen; do
  for signal in TERM INT; do
    # A script's background job starts with SIGINT ignored; from a terminal
    # the game has it as the default.
    env --default-signal=INT SDL_VIDEODRIVER=$driver "$game" >/dev/null 2>"$work/err" &
    game_pid=$!
    sleep 2  # the window is up and the splash drawn
    kill -"$signal" "$game_pid" || fail "$driver: the game did not start"
    status=0
    timeout 10 tail --pid="$game_pid" -f /dev/null || fail "$driver, SIG$signal: the game did not close"
    wait "$game_pid" || status=$?
    game_pid=""
    [[ $status -eq 0 ]] || fail "$driver, SIG$signal: exit status $status, not 0"
    echo "$driver, SIG$signal: exit status 0"
  done
done
