#!/usr/bin/env bash
# A spectator watches an online fight between two inkblot-sim processes
# over 127.0.0.1.
#   watch_fight_test.sh SIM DATA late|vanish
# late: the spectator comes at about step 300 of 600 of slate against wisp
# on the harbour (chosen by the players), catches up and ends on the
# players' hash, its replay the very file the host wrote.
# vanish: a spectator there from the start is killed at about step 300;
# the host drops it, and the players end as a fight beside it with no
# spectator does, on time (no wait, no deep rollback).
set -euo pipefail
sim=$1 data=$2 case=$3
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=fight_work.sh
source "$here/fight_work.sh"
steps=600
[[ $case == vanish ]] && steps=900

join_options=()
fight() {  # NAME [HOST OPTION...]: a fight in the background, NAME.out (the joiner's options: join_options)
  local name=$1 port
  shift
  : > "$name-host.out"
  "$sim" --data "$data" --host 0 --script "$here/p1.script" --repeat-script 20000 --steps $steps --progress 500 "$@" \
    > "$name-host.out" 2>&1 &
  pids+=($!)
  port=$(wait_for "$name-host.out" '^hosting on port \([0-9]*\)$') || { echo "no port"; cat "$name-host.out"; exit 1; }
  "$sim" --data "$data" --join "127.0.0.1:$port" --script "$here/p2.script" --repeat-script 20000 --steps $steps \
    "${join_options[@]}" > "$name-join.out" 2>&1 &
  pids+=($!)
}
at_step() {  # FILE STEP: waits (20 s at most) until the host has reached STEP
  for _ in $(seq 200); do
    local s
    s=$(sed -n 's/^net: progress wall-ms [0-9]* step \([0-9]*\)$/\1/p' "$1" | tail -n 1)
    [[ -n $s ]] && ((s >= $2)) && return 0
    sleep 0.1
  done
  echo "$1: step $2 never came"; exit 1
}
hash_of() { sed -n 's/^\(net\|watch\): steps [0-9]* hash \([0-9a-f]*\).*/\2/p' "$1"; }
finish() {  # waits for every fight's processes; each must succeed
  local p
  for p in "${pids[@]}"; do wait "$p" || { cat ./*.out; echo "a process failed"; exit 1; }; done
  pids=()
}

chosen=()
if [[ $case == late ]]; then
  chosen=(--p1 slate --stage harbour)
  join_options=(--p2 wisp)
fi
fight a --spectators 0 --record host.replay "${chosen[@]}"
door=$(wait_for a-host.out '^spectators on port \([0-9]*\)$') || { echo "no door for spectators"; exit 1; }
if [[ $case == late ]]; then
  at_step a-host.out 300
  "$sim" --data "$data" --watch "127.0.0.1:$door" --record watch.replay > watch.out 2>&1 &
  pids+=($!)
  finish
  cat a-host.out a-join.out watch.out
  joined=$(sed -n 's/^watch: joined at step \([0-9]*\)$/\1/p' watch.out)
  # (a loaded machine, or the sanitizer's build, starts the spectator later)
  ((joined >= 280 && joined <= 500)) || { echo "the spectator came at step $joined, not about 300"; exit 1; }
  ff=$(sed -n 's/^watch: steps .* fast-forwarded \([0-9]*\) .*/\1/p' watch.out)
  ((ff >= joined - 100)) || { echo "the spectator ran $ff steps at once, not the backlog of $joined"; exit 1; }
  h=$(hash_of a-host.out)
  [[ -n $h && $(hash_of a-join.out) == "$h" && $(hash_of watch.out) == "$h" ]] ||
    { echo "the spectator's hash is not the players'"; exit 1; }
  grep -q "^watch: steps $steps " watch.out || { echo "the spectator did not see every step"; exit 1; }
  cmp host.replay watch.replay || { echo "the spectator's replay differs from the host's"; exit 1; }
  grep -q -- '--p1 slate --p2 wisp --stage harbour' watch.replay || { echo "the spectator's replay is not of the chosen fight"; exit 1; }
  echo "the spectator came at step $joined and ended on the players' hash $h, with the host's replay"
  exit 0
fi

fight b
"$sim" --data "$data" --watch "127.0.0.1:$door" > watch.out 2>&1 &
watcher=$!
at_step a-host.out 300
kill -9 "$watcher"
finish
cat a-host.out a-join.out b-host.out
grep -q "^watch: joined at step" watch.out || { echo "the spectator never came in"; exit 1; }
grep -q "^spectators: spectator 1 dropped: silent for 3 s" a-host.out || { echo "the host kept the vanished spectator"; exit 1; }
h=$(hash_of b-host.out)
[[ -n $h ]] && for f in a-host.out a-join.out b-join.out; do
  [[ $(hash_of $f) == "$h" ]] || { echo "$f: the fight differs from the one without a spectator"; exit 1; }
  grep -q "^net: steps $steps .* waits 0 " $f || { echo "$f: a step came late"; exit 1; }
  depth=$(sed -n 's/.* max-depth \([0-9]*\).*/\1/p' "$f")
  ((depth <= 8)) || { echo "$f: a rollback of $depth steps"; exit 1; }
done
echo "the vanished spectator changed nothing: hash $h as without it, no step late"
