#!/usr/bin/env bash
# The beginners' table: rounds won by each scripted beginner in best-of-three
# matches against each level of the computer.
# usage: tools/sim/beginner-table.sh [BUILD_DIR [MATCHES [FIRST_SEED]]]
set -euo pipefail
build=${1:-build}
matches=${2:-20}
seed=${3:-1}
sim=$build/inkblot-sim
[[ -x $sim ]] || { echo "no $sim: build first" >&2; exit 2; }
echo "| beginner \\ computer, rounds won-lost ($matches matches from seed $seed) | L1 | L2 | L3 | L4 | L5 |"
echo "|---|---|---|---|---|---|"
declare -A won lost
for style in masher mixed turtle; do
  row="| $style |"
  for level in 1 2 3 4 5; do
    line=$("$sim" --data "$build/data" --beginner "$style" --level "$level" --matches "$matches" --seed "$seed" | tail -1)
    score=$(sed -E 's/.*rounds won ([0-9]+)-([0-9]+) \(([0-9]+) %\).*/\1-\2 (\3 %)/' <<<"$line")
    row+=" $score |"
    read -r w l < <(sed -E 's/.*rounds won ([0-9]+)-([0-9]+).*/\1 \2/' <<<"$line")
    won[$level]=$(( ${won[$level]:-0} + w )); lost[$level]=$(( ${lost[$level]:-0} + l ))
  done
  echo "$row"
done
row="| all three |"
for level in 1 2 3 4 5; do
  w=${won[$level]}; l=${lost[$level]}
  row+=" $w-$l ($(( (w + l) ? 100 * w / (w + l) : 0 )) %) |"
done
echo "$row"
