#!/usr/bin/env bash
# Runs the fuzz targets of a fuzz build and says how many inputs each ran.
#   fuzz/run.sh BUILD_DIR --seconds N [TARGET...]   each target for N seconds
#   fuzz/run.sh BUILD_DIR --runs N [TARGET...]      each target for N inputs
# The committed corpus in fuzz/corpus/TARGET is read, never written: new
# inputs go to BUILD_DIR/fuzz-work/TARGET, and an input that fails (crash,
# leak, sanitizer report, more than 1 s, more than 512 MB) to
# BUILD_DIR/fuzz-findings/. Exits non-zero when any target failed.
# Inputs are capped at 4096 bytes; at 512 for the Animation reader and 256
# for the Character reader, where every line loads more files.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "$1")
case "${2:-}" in
  --seconds) limit=(-max_total_time="$3") ;;
  --runs) limit=(-runs="$3") ;;
  *) echo "usage: $0 BUILD_DIR (--seconds N | --runs N) [TARGET...]" >&2; exit 2 ;;
esac
shift 3
targets=("$@")
((${#targets[@]})) || targets=(picture mask frame animation move character level quotes script replay controls packet lobby)

mkdir -p "$build/fuzz-findings"
failed=0
for t in "${targets[@]}"; do
  work="$build/fuzz-work/$t"
  log="$build/fuzz-work/$t.log"
  mkdir -p "$work"
  status=0
  case $t in animation) max_len=512 ;; character) max_len=256 ;; *) max_len=4096 ;; esac
  # CPU seconds as well as wall seconds: other work on the machine slows
  # the wall-clock rate libFuzzer reports, not the rate per CPU second.
  /usr/bin/time -o "$work.time" -f "%U %S" \
    "$build/fuzz/fuzz-$t" "${limit[@]}" -max_len=$max_len -timeout=1 -rss_limit_mb=512 \
    -print_final_stats=1 -artifact_prefix="$build/fuzz-findings/$t-" \
    "$work" "fuzz/corpus/$t" > "$log" 2>&1 || status=$?
  stat() { sed -n "s/^stat::$1: *//p" "$log"; }
  runs=$(stat number_of_executed_units)
  # (time puts a line of its own before its figures when the run failed)
  cpu=$(tail -n 1 "$work.time" 2>/dev/null | awk '{ print $1 + $2 }')
  per_cpu=$(awk -v r="${runs:-0}" -v c="$cpu" 'BEGIN { if (c > 0) printf "%d", r / c; else print "?" }')
  echo "fuzz $t: $runs runs, $(stat average_exec_per_sec) runs/s, $per_cpu runs per CPU second" \
       "($cpu CPU s), peak RSS $(stat peak_rss_mb) MB, exit status $status"
  if ((status != 0)); then
    failed=1
    grep -E "ERROR|SUMMARY|runtime error|Test unit written" "$log" | head -5 || true
  fi
done
exit $failed
