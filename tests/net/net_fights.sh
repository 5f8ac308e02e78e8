#!/usr/bin/env bash
# The three online fights of a minute each (0, 150 and 250 ms round trip,
# 30 ms jitter and 3 % loss on the slow lines) side by side: they wait on
# the clock, not the processor. Each one's output is shown; fails when any
# fails.
#   net_fights.sh SIM DATA
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cases=("3600 0 0 0" "3600 150 30 0.03" "3600 250 30 0.03")
pids=()
for i in "${!cases[@]}"; do
  # shellcheck disable=SC2086
  "$here/net_fight_test.sh" "$1" "$2" ${cases[$i]} > "$out/$i.log" 2>&1 &
  pids+=($!)
done
failed=0
for i in "${!cases[@]}"; do
  status=0
  wait "${pids[$i]}" || status=$?
  echo "== ${cases[$i]}: exit status $status"
  cat "$out/$i.log"
  ((status == 0)) || failed=1
done
exit $failed
