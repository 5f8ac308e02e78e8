# Sourced by the online fight tests: a scratch folder to work in (gone at
# the end, with every process started into `pids`), the two sides' output
# files made before any background job opens them, and wait_for.
work=$(mktemp -d)
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"; }
trap cleanup EXIT
cd "$work"
: > host.out
: > join.out

wait_for() {  # FILE PATTERN: the first match's capture, within 10 s
  local v=
  for _ in $(seq 100); do
    v=$(sed -n "s/$2/\\1/p" "$1" | head -n 1)
    [[ -n $v ]] && { echo "$v"; return 0; }
    sleep 0.1
  done
  return 1
}

copy_content() {  # FROM TO: a copy of a content folder; other tests may be
  # writing a file there at the same moment (a controls file saved beside
  # the content), so a copy that meets a file gone is made again
  for _ in $(seq 10); do
    rm -rf "$2"
    cp -rL "$1" "$2" 2>/dev/null && return 0
    sleep 0.2
  done
  echo "cannot copy the content $1"
  return 1
}
