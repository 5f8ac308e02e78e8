# Shared by the real-window tests (source it): a scratch folder $work, a
# virtual X display, the game's window, and cleaning up on exit.
work=$(mktemp -d)
xvfb_pid=""
game_pid=""
cleanup() {
  [[ -n "$game_pid" ]] && kill "$game_pid" 2>/dev/null || true
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Starts Xvfb on a free display number, chosen by the server itself, and
# exports DISPLAY. -noreset: the server stays as it is when its last client
# leaves, so a second game started in the same test finds it ready.
start_xvfb() {
  exec 3<> "$work/displayfd"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [[ -s "$work/displayfd" ]] && break
    sleep 0.1
  done
  local display
  display=$(head -n1 "$work/displayfd")
  [[ -n "$display" ]] || fail "Xvfb did not start"
  export DISPLAY=":$display"
}

# Sets $window to the game's window once it is shown.
find_window() {
  window=""
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '^Inkblot Fighter$' 2>/dev/null | head -n1 || true)
    [[ -n "$window" ]] && break
    sleep 0.1
  done
  [[ -n "$window" ]] || { cat "$work"/*.log >&2; fail "no window titled 'Inkblot Fighter' appeared"; }
}
