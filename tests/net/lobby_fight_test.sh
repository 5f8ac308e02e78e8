#!/usr/bin/env bash
# Pairs of inkblot-sim processes meet in one lobby (Prosody and coturn
# started by tools/lobby/serve.sh on free ports of 127.0.0.1), pair by a
# room code, find the line with ICE and fight over it, the pairs side by
# side; each pair must end on one hash, over the kind of line asked for.
#   lobby_fight_test.sh SIM DATA SERVE STEPS KIND...    (KIND: direct, relayed or watched)
# Each KIND is one pair (a kind may come again: many pairs through one relay).
# watched: a direct pair whose fight a spectator, on a line of its own,
# watches by the room's code from three seconds in, ending on its hash.
# Skipped (status 77) where prosody or coturn is not installed.
set -euo pipefail
sim=$1 data=$2 serve=$3 steps=$4
shift 4
here=$(cd "$(dirname "$0")" && pwd)
for program in prosody turnserver; do
  command -v "$program" >/dev/null || { echo "skipped: $program is not installed (tools/install-deps.sh)"; exit 77; }
done
# shellcheck source=fight_work.sh
source "$here/fight_work.sh"
trap '"$serve" stop --dir "$work/lobby"; cleanup' EXIT
"$serve" start --dir "$work/lobby" --xmpp-port auto --turn-port auto --loopback-peers > lobby.out
lobby=127.0.0.1:$(sed -n 's/^XMPP_PORT=//p' lobby.out)

letters=ABCDEFGHJKLMNPQRSTUVWXYZ
kinds=("$@")
for i in "${!kinds[@]}"; do
  kind=${kinds[$i]}
  c=KQWE${letters:$((i / 24)):1}${letters:$((i % 24)):1}
  : > "host-$i.out"
  : > "join-$i.out"
  door=()
  [[ $kind == watched ]] && door=(--spectators 0)
  "$sim" --data "$data" --lobby "$lobby" --match "host:$c" --name "rook-$i" --script "$here/p1.script" \
    --repeat-script 20000 --steps "$steps" "${door[@]}" > "host-$i.out" 2>&1 &
  pids+=($!)
  wait_for "host-$i.out" "^lobby: hosting room \($c\)$" > /dev/null ||
    { echo "host $i is not hosting"; cat "host-$i.out"; exit 1; }
  relay=()
  [[ $kind == relayed ]] && relay=(--ice-relay-only yes)
  # The code as a friend would type it.
  "$sim" --data "$data" --lobby "$lobby" --match "join:${c,,}" --name "quill-$i" "${relay[@]}" \
    --script "$here/p2.script" --repeat-script 20000 --steps "$steps" > "join-$i.out" 2>&1 &
  pids+=($!)
  if [[ $kind == watched ]]; then
    wait_for "host-$i.out" "^lobby: \(first step\)" > /dev/null || { echo "pair $i never began"; exit 1; }
    sleep 3
    "$sim" --data "$data" --lobby "$lobby" --match "watch:$c" --name "eye-$i" > "watch-$i.out" 2>&1 &
    pids+=($!)
  fi
done
failed=0
for p in "${pids[@]}"; do wait "$p" || failed=1; done
for i in "${!kinds[@]}"; do
  kind=${kinds[$i]}
  echo "== pair $i, $kind"
  cat "host-$i.out" "join-$i.out"
  for f in "host-$i.out" "join-$i.out"; do
    line=$kind
    [[ $kind == watched ]] && line=direct
    grep -q "^lobby: line up, $line, after [0-9]* ms$" "$f" || { echo "$f: the line is not $line"; failed=1; }
    grep -q "^net: steps $steps " "$f" || { echo "$f: not every step was confirmed"; failed=1; }
  done
  h1=$(sed -n 's/^net: steps [0-9]* hash \([0-9a-f]*\).*/\1/p' "host-$i.out")
  h2=$(sed -n 's/^net: steps [0-9]* hash \([0-9a-f]*\).*/\1/p' "join-$i.out")
  [[ -n $h1 && $h1 == "$h2" ]] || { echo "pair $i: hashes differ: $h1 / $h2"; failed=1; }
  if [[ $kind == watched ]]; then
    cat "watch-$i.out"
    hw=$(sed -n 's/^watch: steps [0-9]* hash \([0-9a-f]*\).*/\1/p' "watch-$i.out")
    [[ $hw == "$h1" ]] || { echo "pair $i: the spectator ended on $hw, not the players' $h1"; failed=1; }
    joined=$(sed -n 's/^watch: joined at step \([0-9]*\)$/\1/p' "watch-$i.out")
    ((${joined:-0} >= 120)) || { echo "pair $i: the spectator came at step ${joined:-none}, not mid-fight"; failed=1; }
  fi
done
exit $failed
