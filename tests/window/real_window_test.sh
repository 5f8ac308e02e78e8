#!/usr/bin/env bash
# Starts the real game in a virtual X display, recording a replay, checks
# that its window shows the splash screen, presses Insert (a key that is no
# player's), checks that the fight is drawn, plays a little, and closes it
# with Escape; the game must exit with status 0. Then inkblot-sim plays the
# replay back and must meet every recorded hash (a changed hash stopping the
# playback is Replay.PlaysBackToTheSameTraceAndStopsWhereItDiverges). Last, the game plays the
# replay back in its window until Escape stops it.
# usage: real_window_test.sh GAME DATA_DIR SIM
set -euo pipefail
game=$(realpath "$1")
data=$2
sim=$(realpath "$3")
source "$(dirname "$0")/window_lib.sh"
start_xvfb
export SDL_AUDIODRIVER=dummy

(cd "$data" && exec "$game" --record "$work/fight.replay") >"$work/game.log" 2>&1 &
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

# Rook walks in and punches; quill punches back.
xdotool keydown b; sleep 0.6; xdotool keyup b
xdotool key x slash; sleep 0.3; xdotool key x
# (long enough for the playback below to be stopped before its end)
sleep 1
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

# The recording, played back headless, meets every hash it holds.
replay=$work/fight.replay
grep -q '^m 256 66$' "$replay" || fail "the replay holds no press of B"
hashes=$(grep -c '^h ' "$replay" || true)
((hashes >= 2)) || fail "the replay holds $hashes hashes"
"$sim" --data "$data" --replay "$replay" --trace "$work/replay.jsonl" 2>"$work/sim.log" ||
  { cat "$work/sim.log" >&2; fail "inkblot-sim --replay of the recording: status $?"; }
passes=$(wc -l <"$work/replay.jsonl")
echo "replay: $(wc -c <"$replay") bytes, $passes passes, $hashes hashes met"

# Played back in the window; Escape stops it, other keys do nothing.
(cd "$data" && exec "$game" --replay "$replay") >"$work/play.log" 2>&1 &
game_pid=$!
find_window
for _ in $(seq 30); do
  read -r mean _ < <(shot playback)
  awk -v m="$mean" 'BEGIN { exit !(m > 0.05) }' && break
  sleep 0.2
done
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key Left x Escape
for _ in $(seq 100); do
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$game_pid" 2>/dev/null; then fail "the playback did not stop on Escape"; fi
status=0
wait "$game_pid" || status=$?
game_pid=""
[[ $status -eq 0 ]] || { cat "$work/play.log" >&2; fail "playback exit status $status"; }
grep -E "playback stopped at pass [0-9]+ of $passes\$" "$work/play.log" ||
  { cat "$work/play.log" >&2; fail "the playback was not stopped by Escape"; }
echo "window playback: stopped by Escape; exit status 0"
