#!/usr/bin/env bash
# Online choices between two inkblot-sim processes on 127.0.0.1:
# - the host takes slate and the harbour, the joiner wisp: both end on one
#   hash, and the host's replay names them and plays back to that hash;
# - that replay, played with a content whose slate differs, is refused;
# - a joiner whose slate differs refuses the fight, both sides saying so;
# - a joiner that says no choice (as a game from before choices) fights
#   rook v quill on the desert with the choosing host.
#   choice_fight_test.sh SIM DATA
set -euo pipefail
sim=$1 data=$2
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=fight_work.sh
source "$here/fight_work.sh"
trap 'echo "choice_fight_test.sh: a command failed at line $LINENO" >&2' ERR
steps=300

# A copy of the content with one byte of a slate picture changed.
changed=$work/changed
copy_content "$data" "$changed"
pictures=("$changed"/slate*.tga)
f=${pictures[0]}
at=$(( $(stat -c %s "$f") / 2 ))
b=$(od -An -tu1 -j "$at" -N1 "$f" | tr -d ' ')
printf "$(printf '\\%03o' $(( (b + 1) % 256 )))" | dd of="$f" bs=1 seek="$at" conv=notrunc status=none

# fight NAME HOST_DATA JOIN_DATA "HOST ARGS" "JOIN ARGS": NAME.host and NAME.join
fight() {
  local name=$1 hs=0 js=0 port
  : > "$name.host"; : > "$name.join"
  # shellcheck disable=SC2086
  "$sim" --data "$2" --host 0 --script "$here/p1.script" --steps $steps $4 > "$name.host" 2>&1 &
  local host=$!; pids+=($host)
  port=$(wait_for "$name.host" '^hosting on port \([0-9]*\)$') || { echo "$name: no port"; cat "$name.host"; exit 1; }
  # shellcheck disable=SC2086
  "$sim" --data "$3" --join "127.0.0.1:$port" --script "$here/p2.script" --steps $steps $5 > "$name.join" 2>&1 &
  local join=$!; pids+=($join)
  wait "$host" || hs=$?
  wait "$join" || js=$?
  cat "$name.host" "$name.join"
  echo "$hs $js" > "$name.status"
}
hash_of() { sed -n 's/^net: steps [0-9]* hash \([0-9a-f]*\).*/\1/p' "$1"; }

fight chosen "$data" "$data" "--p1 slate --stage harbour --record chosen.replay" "--p2 wisp"
[[ $(cat chosen.status) == "0 0" ]] || { echo "the chosen fight failed"; exit 1; }
h=$(hash_of chosen.host)
[[ -n $h && $h == "$(hash_of chosen.join)" ]] || { echo "the chosen fight's hashes differ"; exit 1; }
grep -q '^args.* --p1 slate --p2 wisp --stage harbour' chosen.replay || { echo "the replay does not name the choice"; exit 1; }
"$sim" --data "$data" --replay chosen.replay --trace chosen.jsonl > replay.out 2>&1 || { cat replay.out; exit 1; }
tail -n 1 chosen.jsonl | grep -q "\"hash\":\"$h\"" || { echo "the replay ends with another hash"; exit 1; }
if "$sim" --data "$changed" --replay chosen.replay > changed-replay.out 2>&1 ||
  ! grep -q "replay was recorded with other content" changed-replay.out; then
  cat changed-replay.out; echo "the replay played with another slate"; exit 1
fi

fight changed "$data" "$changed" "--p1 slate --stage harbour" "--p2 wisp"
for f in changed.host changed.join; do
  grep -q '^net: refused: the content of the host.s fighter "slate" differs between the two players' "$f" ||
    { echo "$f: the other slate was not refused"; exit 1; }
done
[[ $(cat changed.status) == "1 1" ]] || { echo "a side fought on"; exit 1; }

fight old "$data" "$data" "--p1 slate --stage harbour --record old.replay" ""
[[ $(cat old.status) == "0 0" && $(hash_of old.host) == "$(hash_of old.join)" ]] ||
  { echo "the fight with a side without a choice failed"; exit 1; }
! grep -q -- '--p1' old.replay || { echo "the fight without a choice was not rook v quill"; exit 1; }
echo "slate v wisp on the harbour: hash $h on both sides and in the replay; other content refused"
