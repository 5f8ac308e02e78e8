#!/usr/bin/env bash
# Runs one test script for several cases side by side (online fights wait
# on the clock, not the processor), shows each one's output, and fails
# when any fails.
#   side_by_side.sh SCRIPT ARG... ::: CASE...
# Each CASE is split at blanks and its words follow the ARGs.
set -uo pipefail
args=()
while (($#)) && [[ $1 != ::: ]]; do args+=("$1"); shift; done
shift
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cases=("$@")
pids=()
for i in "${!cases[@]}"; do
  # shellcheck disable=SC2086
  "${args[@]}" ${cases[$i]} > "$out/$i.log" 2>&1 &
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
