#!/usr/bin/env bash
# The bytes a second a host sends its spectators (ENet's headers
# included), for docs/online.md: a fight of STEPS steps over 127.0.0.1
# watched from its start by N spectators; prints the host's and each
# spectator's last line.
#   watch_bytes.sh SIM DATA STEPS N
set -euo pipefail
sim=$1 data=$2 steps=$3 n=$4
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=fight_work.sh
source "$here/fight_work.sh"
"$sim" --data "$data" --host 0 --spectators 0 --script "$here/p1.script" --repeat-script 20000 --steps "$steps" \
  > host.out 2>&1 &
pids+=($!)
port=$(wait_for host.out '^hosting on port \([0-9]*\)$') || { cat host.out; exit 1; }
door=$(wait_for host.out '^spectators on port \([0-9]*\)$') || { cat host.out; exit 1; }
for i in $(seq "$n"); do
  "$sim" --data "$data" --watch "127.0.0.1:$door" > "watch$i.out" 2>&1 &
  pids+=($!)
done
sleep 0.5
"$sim" --data "$data" --join "127.0.0.1:$port" --script "$here/p2.script" --repeat-script 20000 --steps "$steps" \
  > join.out 2>&1
for p in "${pids[@]}"; do wait "$p" || true; done
pids=()
grep -h '^spectators: bytes\|^net: steps' host.out
grep -h '^watch: ' watch*.out | sort | uniq -c
