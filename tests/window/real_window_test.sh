#!/usr/bin/env bash
# Starts the real game in a virtual X display, checks that its window shows
# the splash screen, presses Insert (a key that is no player's), checks that
# the fight is drawn, and closes it with Escape; the game must exit with
# status 0.
# usage: real_window_test.sh GAME DATA_DIR
set -euo pipefail
game=$(realpath "$1")
data=$2
source "$(dirname "$0")/window_lib.sh"
start_xvfb
export SDL_AUDIODRIVER=dummy

(cd "$data" && exec "$game") >"$work/game.log" 2>&1 &
game_pid=$!

find_window

# Mean brightness (0..1) and the number of distinct colours of the screen.
shot() {
  import -window root "$work/$1.png"
  convert "$work/$1.png" -format '%[fx:mean] %k\n' info:
}

# The game loads its content after the window appears; a slow build (the
# sanitizers) takes a few seconds before the splash shows.
for _ in $(seq 30); do
  sleep 0.5
  read -r splash_mean splash_colours < <(shot splash)
  awk -v m="$splash_mean" -v c="$splash_colours" 'BEGIN { exit !(m > 0.05 && c > 2) }' && break
done
echo "splash: mean $splash_mean, $splash_colours colours"
awk -v m="$splash_mean" 'BEGIN { exit !(m > 0.05) }' || fail "the splash screen is black"
((splash_colours > 2)) || fail "the splash screen shows a single colour"

xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key Insert
sleep 1.5
read -r fight_mean fight_colours < <(shot fight)
echo "fight: mean $fight_mean, $fight_colours colours"
cmp -s "$work/splash.png" "$work/fight.png" && fail "the screen did not change after a key"
((fight_colours > 2)) || fail "the fight screen shows a single colour"

xdotool key Escape
status=0
for _ in $(seq 100); do
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$game_pid" 2>/dev/null; then fail "the game did not close on Escape"; fi
wait "$game_pid" || status=$?
game_pid=""
[[ $status -eq 0 ]] || { cat "$work/game.log" >&2; fail "exit status $status"; }
[[ -n "${KEEP_SHOTS:-}" ]] && cp "$work"/*.png "$KEEP_SHOTS"/
echo "real window: splash, fight and Escape all seen; exit status 0"
