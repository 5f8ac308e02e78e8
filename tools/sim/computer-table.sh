#!/usr/bin/env bash
# The computer against itself: each level against the one below, and rook
# against quill at levels 5 and 3, in both seatings; player 1's wins.
# usage: tools/sim/computer-table.sh [BUILD_DIR [FIGHTS [FIRST_SEED]]]
set -euo pipefail
build=${1:-build}
fights=${2:-100}
seed=${3:-1}
sim=$build/inkblot-sim
[[ -x $sim ]] || { echo "no $sim: build first" >&2; exit 2; }
wins() {  # LEVEL1 LEVEL2 [--swap-characters]: "player 1's wins-player 2's wins"
  "$sim" --data "$build/data" --cpu "1:$1" --cpu "2:$2" --fights "$fights" --seed "$seed" ${3:-} | tail -1 |
    sed -E 's/.*player 1 won ([0-9]+), player 2 won ([0-9]+).*/\1-\2/'
}
echo "Level N+1 against level N, $fights fights from seed $seed (the stronger's wins-the weaker's):"
echo "| pairing | rook N+1 (p1) vs quill N | quill N+1 (p1) vs rook N | quill N+1 (p2) vs rook N | rook N+1 (p2) vs quill N |"
echo "|---|---|---|---|---|"
for n in 1 2 3 4; do
  m=$((n + 1))
  a=$(wins $m $n); b=$(wins $m $n --swap-characters)
  c=$(wins $n $m); d=$(wins $n $m --swap-characters)
  echo "| L$m vs L$n | $a | $b | $(awk -F- '{print $2"-"$1}' <<<"$c") | $(awk -F- '{print $2"-"$1}' <<<"$d") |"
done
echo
echo "Rook against quill, both at one level (rook's wins-quill's wins):"
echo "| level | rook player 1 | rook player 2 |"
echo "|---|---|---|"
for n in 5 3; do
  a=$(wins $n $n); b=$(wins $n $n --swap-characters)
  echo "| L$n | $a | $(awk -F- '{print $2"-"$1}' <<<"$b") |"
done
