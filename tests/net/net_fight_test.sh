#!/usr/bin/env bash
# Two inkblot-sim processes fight online over 127.0.0.1, each impairing its
# own outgoing packets, and must end with the same hash, no desync and no
# rollback deeper than 8 steps.
#   net_fight_test.sh SIM DATA STEPS RTT_MS JITTER_MS LOSS
# With STEPS "kill": the joining side is killed mid-fight, and the host
# must say "connection lost" within 3.5 s and end its fight by itself.
# With STEPS "desync": the host runs one step a second late; both sides
# must say "out of sync at step N" and write the report they name.
# With STEPS "refused": the host's content differs by one line; both sides
# must refuse the fight, saying that the content differs.
set -euo pipefail
sim=$1 data=$2 steps=$3 rtt=${4:-0} jitter=${5:-0} loss=${6:-0}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=fight_work.sh
source "$here/fight_work.sh"

host_steps=$steps join_steps=$steps fault=()
[[ $steps == kill ]] && host_steps=3600 join_steps=3600
[[ $steps == desync ]] && host_steps=600 join_steps=600 fault=(--impure-step 100)
host_data=$data
if [[ $steps == refused ]]; then
  host_steps=100 join_steps=100 host_data=$work/data
  copy_content "$data" "$host_data"
  echo "an extra line" >> "$host_data/stuff.quotes"
fi
"$sim" --data "$host_data" --host 0 --script "$here/p1.script" --repeat-script 20000 --steps "$host_steps" --record fight.replay "${fault[@]}" \
  --net-sim "$rtt,$jitter,$loss,11" > host.out 2>&1 &
pids+=($!)
host=$!
port=$(wait_for host.out '^hosting on port \([0-9]*\)$') || { echo "the host printed no port"; cat host.out; exit 1; }
"$sim" --data "$data" --join "127.0.0.1:$port" --script "$here/p2.script" --repeat-script 20000 --steps "$join_steps" \
  --net-sim "$rtt,$jitter,$loss,12" > join.out 2>&1 &
pids+=($!)
join=$!

if [[ $steps == kill ]]; then
  # Into the fight, then the joining side is gone without a word.
  sleep 4
  kill -9 "$join"
  killed=$(date +%s%N)
  status=0
  wait "$host" || status=$?
  ended=$(date +%s%N)
  cat host.out
  grep -q "connection lost" host.out || { echo "the host did not say the connection was lost"; exit 1; }
  ms=$(( (ended - killed) / 1000000 ))
  echo "the host ended its fight $ms ms after the other side was killed (status $status)"
  (( status == 1 && ms <= 3500 )) || exit 1
  exit 0
fi

hs=0 js=0
wait "$host" || hs=$?
wait "$join" || js=$?
cat host.out join.out
if [[ $steps == refused ]]; then
  for f in host.out join.out; do
    grep -q "^net: refused: the content differs" "$f" || { echo "$f: the fight was not refused"; exit 1; }
  done
  (( hs == 1 && js == 1 )) || { echo "a side fought on"; exit 1; }
  exit 0
fi
if [[ $steps == desync ]]; then
  for f in host.out join.out; do
    report=$(sed -n 's/^net: out of sync at step [0-9]*: the fight is written to \(.*\) (after.*/\1/p' "$f")
    [[ -n $report && -s $report ]] || { echo "$f: no desync reported with its file"; exit 1; }
    grep -q "^state here" "$report" && grep -q "^state there" "$report" ||
      { echo "$report: the states of both sides are not in it"; exit 1; }
  done
  (( hs == 1 && js == 1 )) || { echo "a side went on after the desync"; exit 1; }
  exit 0
fi
(( hs == 0 && js == 0 )) || { echo "a side failed"; exit 1; }
h1=$(sed -n 's/^net: steps [0-9]* hash \([0-9a-f]*\).*/\1/p' host.out)
h2=$(sed -n 's/^net: steps [0-9]* hash \([0-9a-f]*\).*/\1/p' join.out)
[[ -n $h1 && $h1 == "$h2" ]] || { echo "hashes differ: $h1 / $h2"; exit 1; }
grep -q "^net: steps $steps " host.out && grep -q "^net: steps $steps " join.out ||
  { echo "not every step was confirmed"; exit 1; }
for f in host.out join.out; do
  depth=$(sed -n 's/.* max-depth \([0-9]*\).*/\1/p' "$f")
  (( depth <= 8 )) || { echo "$f: a rollback of $depth steps"; exit 1; }
done
# The fight's replay plays back as the same fight, to the same last hash.
"$sim" --data "$data" --replay fight.replay --trace fight.jsonl > replay.out 2>&1 ||
  { cat replay.out; echo "the replay did not play back"; exit 1; }
tail -n 1 fight.jsonl | grep -q "\"hash\":\"$h1\"" || { echo "the replay ends with another hash"; exit 1; }
echo "same hash $h1 on both sides and in the replay"
