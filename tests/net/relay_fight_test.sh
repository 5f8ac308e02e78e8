#!/usr/bin/env bash
# Two inkblot-sim processes fight online over 127.0.0.1 through the test
# relay, which spoils the datagrams themselves on a schedule per direction
# (up: joiner to host, down: host to joiner). Both must end on the same
# hash, every step confirmed, within the wall time given.
#   relay_fight_test.sh SIM RELAY DATA CASE
# CASE is one of the schedules below; with RELAY_UNSTABLE=1 in a case both
# sides must also have said "connection is unstable". Prints each side's
# figures and CPU share, and what the relay did.
set -euo pipefail
sim=$(realpath "$1") relay=$(realpath "$2") data=$(realpath "$3") case=$4
here=$(cd "$(dirname "$0")" && pwd)
unstable=0 progress=()
case $case in
  # The one-way delay grows slowly, as it would to 100 ms over a minute
  # (ENet's throttle, left alone, thins the inputs out from about 35 ms).
  rising) steps=2400 max=42 up="delay=0:0/60000:100" down=$up ;;
  # One datagram in a hundred has a bit flipped, and a few chosen ones at
  # places that matter to ENet (its sequence numbers, its command).
  corrupt) steps=1800 max=35 up="corrupt=0.01,flip=300:2:0,flip=301:6:5" down="corrupt=0.01,flip=500:0:7,flip=501:4:1" ;;
  # Silence both ways for 2.0 s, then for 2.9 s.
  blackout) steps=1800 max=40 unstable=1 up="blackout=8000:2000,blackout=18000:2900" down=$up ;;
  # Asymmetric delay with jitter, bursts of loss, reordering, duplicates.
  rough) steps=1800 max=35 up="delay=40,jitter=15,loss=0.02,burst=7000:300,reorder=0.02:30,dup=0.02"
         down="delay=70,jitter=25,loss=0.01,dup=0.03,reorder=0.03:40" ;;
  # The longer schedules (relay_long.sh): to 100 ms and to 300 ms over a
  # minute, and 300 ms that falls back to nothing after 30 s.
  rise100) steps=3600 max=63 up="delay=0:0/60000:100" down=$up ;;
  rise300) steps=3600 max=95 up="delay=0:0/60000:300" down=$up ;;
  fall) steps=3600 max=95 up="delay=0:0/5000:300/30000:300/30001:0" down=$up progress=(--progress 500) ;;
  *) echo "unknown case $case"; exit 2 ;;
esac
# shellcheck source=fight_work.sh
source "$here/fight_work.sh"
: > relay.out

/usr/bin/time -f "cpu %P, %e s in all" -o host.cpu "$sim" --data "$data" --host 0 --script "$here/p1.script" \
  --repeat-script 20000 --steps "$steps" > host.out 2>&1 &
pids+=($!)
host=$!
port=$(wait_for host.out '^hosting on port \([0-9]*\)$') || { echo "the host printed no port"; cat host.out; exit 1; }
"$relay" --to "$port" --up "$up" --down "$down" --seed 5 --seconds $((max + 30)) > relay.out 2>&1 &
pids+=($!)
relay_pid=$!
relay_port=$(wait_for relay.out '^relay on port \([0-9]*\)$') || { echo "the relay printed no port"; cat relay.out; exit 1; }
/usr/bin/time -f "cpu %P, %e s in all" -o join.cpu "$sim" --data "$data" --join "127.0.0.1:$relay_port" \
  --script "$here/p2.script" --repeat-script 20000 --steps "$steps" "${progress[@]}" > join.out 2>&1 &
pids+=($!)
join=$!

hs=0 js=0
wait "$host" || hs=$?
wait "$join" || js=$?
kill -TERM "$relay_pid" 2>/dev/null || true
wait "$relay_pid" 2>/dev/null || true
echo "== $case (up: $up; down: $down)"
for side in host join; do
  echo "$side: $(grep '^net: steps' $side.out || tail -n 3 $side.out) $(cat $side.cpu 2>/dev/null | tail -n 1)"
done
grep -h "^net: progress" join.out || true
cat relay.out
(( hs == 0 && js == 0 )) || { cat host.out join.out; echo "a side failed"; exit 1; }
h1=$(sed -n 's/^net: steps [0-9]* hash \([0-9a-f]*\).*/\1/p' host.out)
h2=$(sed -n 's/^net: steps [0-9]* hash \([0-9a-f]*\).*/\1/p' join.out)
[[ -n $h1 && $h1 == "$h2" ]] || { echo "hashes differ: $h1 / $h2"; exit 1; }
grep -q "^net: steps $steps " host.out && grep -q "^net: steps $steps " join.out ||
  { echo "not every step was confirmed"; exit 1; }
for side in host join; do
  wall=$(sed -n 's/^net: steps .* wall-ms \([0-9]*\).*/\1/p' $side.out)
  [[ -n $wall ]] && (( wall <= max * 1000 )) || { echo "$side: $steps steps took $wall ms, more than $max s"; exit 1; }
  if (( unstable )); then
    grep -q "^net: connection is unstable" $side.out || { echo "$side never said the line was unstable"; exit 1; }
  fi
done
echo "same hash $h1 on both sides"
