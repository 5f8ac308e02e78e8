#!/usr/bin/env bash
# Every pairing of the default fighters at the computer's top level, in both
# seats: neither side may win fewer than 30 or more than 70 of 50 fights (the
# whole table, 100 fights a pairing, is tools/sim/matchup-table.sh).
set -euo pipefail
sim=$1 data=$2
fighters=(rook quill slate wisp)
bad=0
for a in "${fighters[@]}"; do
  for b in "${fighters[@]}"; do
    line=$("$sim" --data "$data" --p1 "$a" --p2 "$b" --cpu 1:5 --cpu 2:5 --fights 50 --seed 1 | tail -1)
    won=$(sed -nE 's/.*player 1 won ([0-9]+), player 2 won ([0-9]+).*/\1/p' <<<"$line")
    [[ -n $won ]] || { echo "$a v $b: no result in: $line"; exit 1; }
    echo "$a (player 1) v $b: $won of 50"
    if ((won < 15 || won > 35)); then echo "  uneven"; bad=1; fi
  done
done
exit $bad
