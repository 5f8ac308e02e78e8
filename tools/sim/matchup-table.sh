#!/usr/bin/env bash
# Every fighter of the default content against every other (mirrors too) at
# one computer level; player 1's wins of FIGHTS.
# usage: tools/sim/matchup-table.sh [BUILD_DIR [FIGHTS [LEVEL [FIRST_SEED]]]]
set -euo pipefail
build=${1:-build}
fights=${2:-100}
level=${3:-5}
seed=${4:-1}
sim=$build/inkblot-sim
[[ -x $sim ]] || { echo "no $sim: build first" >&2; exit 2; }
fighters=(rook quill slate wisp)
echo "Player 1's wins of $fights at level $level, from seed $seed (rows: player 1):"
echo "| player 1 \\ player 2 |$(printf ' %s |' "${fighters[@]}")"
echo "|---|---|---|---|---|"
for a in "${fighters[@]}"; do
  row="| $a |"
  for b in "${fighters[@]}"; do
    row+=" $("$sim" --data "$build/data" --p1 "$a" --p2 "$b" --cpu 1:"$level" --cpu 2:"$level" --fights "$fights" \
      --seed "$seed" | tail -1 | sed -E 's/.*player 1 won ([0-9]+).*/\1/') |"
  done
  echo "$row"
done
