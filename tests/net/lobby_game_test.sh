#!/usr/bin/env bash
# The game's lobby screen, end to end on 127.0.0.1: Prosody and coturn
# started by tools/lobby/serve.sh on free ports, the real game in a virtual
# X display, and inkblot-sim as the other player. First the game's player
# takes slate on the select screen and hosts a room, and the sim quick
# matches it through the relay with wisp (the game's replay must name
# both), and a third sim watches the game's fight by its room's code; then
# the game watches a fight of two sims (W and the code) to its end, on
# their hash; then, back on the
# splash screen after Escape, the sim hosts a room and the game joins it by
# the code typed on its keyboard (a direct line), and the lobby server
# stops during that fight, which goes on. Each fight must be played to the
# sim's last step with the two sides' hashes compared and agreeing, and
# the game must end with status 0 on Escape.
#   lobby_game_test.sh GAME SIM DATA SERVE [SHOT.png]
# SHOT: where to keep a picture of the lobby screen (for the docs).
# Skipped (status 77) where prosody, coturn, Xvfb or xdotool is missing.
set -euo pipefail
game=$(realpath "$1") sim=$(realpath "$2") data=$(realpath "$3") serve=$(realpath "$4") shot=${5:-}
here=$(cd "$(dirname "$0")" && pwd)
for program in prosody turnserver Xvfb xdotool import; do
  command -v "$program" >/dev/null || { echo "skipped: $program is not installed (tools/install-deps.sh)"; exit 77; }
done
source "$here/../window/window_lib.sh"
sim_pid=""
finish() {
  if [[ -n $sim_pid ]]; then kill "$sim_pid" 2>/dev/null || true; fi
  "$serve" stop --dir "$work/lobby" >/dev/null 2>&1 || true
  cleanup
}
trap finish EXIT
"$serve" start --dir "$work/lobby" --xmpp-port auto --turn-port auto --loopback-peers > "$work/lobby.out"
port=$(sed -n 's/^XMPP_PORT=//p' "$work/lobby.out")

start_xvfb
export SDL_AUDIODRIVER=dummy XDG_DATA_HOME="$work/home" INKBLOT_ICE_ADDRESS=127.0.0.1
printf '[online]\nname = quill\n' > "$work/controls.ini"
(cd "$data" && exec "$game" --config "$work/controls.ini" --lobby "localhost:$port") >"$work/game.log" 2>&1 &
game_pid=$!
find_window
sleep 2  # the content loads after the window appears

wait_line() {  # FILE PATTERN [SECONDS]: true once FILE holds a line matching PATTERN
  for _ in $(seq $((${3:-10} * 10))); do
    grep -q "$2" "$1" && return 0
    sleep 0.1
  done
  return 1
}
fought() {  # SIM_OUTPUT: the sim confirmed every step and compared hashes
  local out=$1
  grep -q '^net: steps 600 .* hashes-compared [1-9]' "$out" || { cat "$out" "$work/game.log" >&2; fail "$out: the fight was not played out"; }
}
key() { xdotool key --delay 60 "$@"; }

# 1. The game's player takes slate (one to the right of rook) and the
# stage, hosts a room; the sim quick matches it through the relay with
# wisp.
xdotool windowfocus --sync "$window" 2>/dev/null || true
key F5
sleep 1
key Right Return Return
sleep 2
key h
sleep 1
"$sim" --data "$data" --lobby "127.0.0.1:$port" --match quick --name ann --ice-relay-only yes --p2 wisp \
  --script "$here/p2.script" --repeat-script 20000 --steps 600 > "$work/join.out" 2>&1 &
sim_pid=$!
wait_line "$work/game.log" 'paired with ann in room [A-Z]*; the line is relayed' 20 ||
  { cat "$work/game.log" "$work/join.out"; fail "the sim did not quick match the game's room through the relay"; }
# A spectator comes to the game's fight by its room's code.
room=$(sed -n 's/.*paired with ann in room \([A-Z]*\);.*/\1/p' "$work/game.log" | head -1)
"$sim" --data "$data" --lobby "127.0.0.1:$port" --match "watch:$room" --name eve --progress 500 > "$work/eve.out" 2>&1 &
eve_pid=$!
wait "$sim_pid" || true
sim_pid=""
fought "$work/join.out"
grep -q '^lobby: line up, relayed' "$work/join.out" || fail "the sim's line is not relayed"
# The sim leaves after 600 steps, which the game's fight does not end on:
# the spectator must have been fed the fight to about there (the game
# then tells it the fight was cut short).
wait "$eve_pid" || true
watched=$(sed -n 's/^watch: progress step \([0-9]*\) .*/\1/p' "$work/eve.out" | sort -n | tail -1)
((${watched:-0} >= 500)) || { cat "$work/eve.out" "$work/game.log"; fail "the spectator of the game's fight saw ${watched:-no} steps"; }
wait_line "$work/game.log" 'the fight is kept in' 10 || fail "the game kept no replay of the fight"
kept=$(sed -n 's/.*the fight is kept in //p' "$work/game.log" | head -1)
grep -q -- '--p1 slate --p2 wisp' "$kept" || { head -5 "$kept"; fail "the fight was not the game's slate against the sim's wisp"; }
kill -0 "$game_pid" || fail "the game closed after the fight"

# 2. Back on the splash screen, the game watches a fight between two sims
# in the room WATCHY, from W and its code, to its end.
key Escape
sleep 1
"$sim" --data "$data" --lobby "127.0.0.1:$port" --match host:WATCHY --name ann --spectators 0 --script "$here/p1.script" \
  --repeat-script 20000 --steps 900 > "$work/ann.out" 2>&1 &
sim_pid=$!
wait_line "$work/ann.out" '^lobby: hosting room WATCHY$' || { cat "$work/ann.out"; fail "the sim is not hosting WATCHY"; }
"$sim" --data "$data" --lobby "127.0.0.1:$port" --match join:WATCHY --name bob --script "$here/p2.script" \
  --repeat-script 20000 --steps 900 > "$work/bob.out" 2>&1 &
bob_pid=$!
wait_line "$work/ann.out" '^lobby: first step' 20 || { cat "$work/ann.out"; fail "the sims' fight did not start"; }
key F5
sleep 1
key Return Return
sleep 2
key w w a t c h y Return
wait_line "$work/game.log" 'watched [0-9]* steps, hash' 60 || { cat "$work/game.log" "$work/ann.out"; fail "the game did not watch the fight to its end"; }
wait "$sim_pid" "$bob_pid" || true
sim_pid=""
[[ $(sed -n 's/.*watched 900 steps, hash \([0-9a-f]*\).*/\1/p' "$work/game.log") == \
   $(sed -n 's/^net: steps 900 .*hash \([0-9a-f]*\).*/\1/p' "$work/ann.out") ]] ||
  { grep watch "$work/game.log"; grep '^net: steps' "$work/ann.out"; fail "the game did not end the watch on the players' hash"; }

# 3. Escape leaves the watched fight for the splash screen; the sim hosts KQWERT
# and the game joins by typing it. The lobby server stops mid-fight: the
# direct line does not need it.
key Escape
sleep 1
"$sim" --data "$data" --lobby "127.0.0.1:$port" --match host:KQWERT --name rook --script "$here/p1.script" \
  --repeat-script 20000 --steps 600 > "$work/host.out" 2>&1 &
sim_pid=$!
wait_line "$work/host.out" '^lobby: hosting room KQWERT$' || { cat "$work/host.out"; fail "the sim is not hosting"; }
key F5
sleep 1
key Return Return
sleep 2
if [[ -n $shot ]]; then
  # The game fills the virtual screen: the whole of it, at the game's size.
  timeout 10 import -window root -resize 800x600 -colors 64 "$shot" || fail "no screenshot"
fi
key j k q w e r t Return
wait_line "$work/game.log" 'paired with rook in room KQWERT; the line is direct' 20 ||
  { cat "$work/game.log" "$work/host.out"; fail "the game did not join room KQWERT over a direct line"; }
"$serve" stop --dir "$work/lobby" > /dev/null
wait "$sim_pid" || true
sim_pid=""
fought "$work/host.out"

# 4. Escape back to the splash screen, then Escape closes the game.
key Escape
sleep 1
key Escape
for _ in $(seq 100); do
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$game_pid" 2>/dev/null && fail "the game did not close on Escape"
status=0
wait "$game_pid" || status=$?
game_pid=""
((status == 0)) || { cat "$work/game.log"; fail "the game ended with status $status"; }
grep -i 'abort\|sanitizer' "$work/game.log" && fail "the game's log holds an error"
# How long each meeting took, as the sim saw it.
grep -h '^lobby: \(line up\|first step\)' "$work/join.out" "$work/host.out"
echo "two fights through the lobby, relayed and direct, one watched by a sim, and a fight of two sims watched by the game"
