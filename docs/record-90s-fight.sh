#!/usr/bin/env bash
# Records a 90-second fight in the real game under Xvfb, driven by xdotool,
# then plays it back with inkblot-sim and says the replay's size: the figure
# docs/replays.md gives. Needs a normal build (build/) and Xvfb and xdotool.
# usage: docs/record-90s-fight.sh OUT.replay [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "$1")
secs=${2:-90}
work=$(mktemp -d)
xvfb_pid=""
trap '[[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null; rm -rf "$work"' EXIT
exec 3<> "$work/displayfd"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [[ -s "$work/displayfd" ]] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/displayfd")" SDL_AUDIODRIVER=dummy
(cd build/data && exec ../inkblot-fighter --record "$out") &
game_pid=$!
sleep 2
xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^Inkblot Fighter$' | head -n1)"
xdotool key space
# Rook walks and jumps, quill blocks; now and then both attack.
i=0
end=$((SECONDS + secs))
while ((SECONDS < end)); do
  i=$((i + 1))
  xdotool keydown b; sleep 0.3; xdotool keyup b; xdotool key f; sleep 0.2
  xdotool key Left z
  ((i % 8 == 0)) && xdotool key x slash
  sleep 0.1
done
xdotool key Escape
wait "$game_pid"
build/inkblot-sim --data build/data --replay "$out" --trace "$work/trace.jsonl"
echo "$out: $(wc -c <"$out") bytes, $(grep -c '^m' "$out") messages," \
     "$(grep -c '"state":"Fight"' "$work/trace.jsonl") fight passes of $(wc -l <"$work/trace.jsonl")," \
     "$(grep -c '^h' "$out") hashes, all met"
