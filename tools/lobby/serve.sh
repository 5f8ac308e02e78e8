#!/usr/bin/env bash
# Runs the game's lobby: Prosody (XMPP, anonymous players, the room
# "lobby") and coturn (STUN and TURN, credentials issued by Prosody) as
# this user's processes, from the configs beside this script, with all
# their files in one folder.
#
#   serve.sh start --dir DIR [options]   start both, wait until they answer
#   serve.sh stop --dir DIR              stop both (what start began)
#   serve.sh run --dir DIR [options]     start, then stop on Ctrl-C or TERM
#
# Options:
#   --host NAME         the XMPP domain the players log in to (default: localhost)
#   --bind ADDR         the address both servers listen on (default: 127.0.0.1)
#   --public-ip ADDR    the address players reach coturn at, if not --bind
#   --xmpp-port N       default 5222; "auto": a free port
#   --turn-port N       default 3478; "auto": a free port
#   --relay-ports A-B   coturn's relay ports (default 49152-65535; with a
#                       free --turn-port, 200 free-looking ports)
#   --loopback-peers    let coturn relay to 127.x (tests on one machine)
#   --no-turn           Prosody only
#
# On success start prints, and writes to DIR/ports, the lines
# XMPP_PORT=... TURN_PORT=... HOST=... BIND=...
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
wait_s=10

die() { echo "serve.sh: $*" >&2; exit 1; }

command_name="${1:-}"
[[ -n "$command_name" ]] || die "say start, stop or run (see the top of this script)"
shift
dir="" host=localhost bind=127.0.0.1 public_ip="" xmpp_port=5222 turn_port=3478
relay_ports="" loopback_peers=0 turn=1
while (($#)); do
  case "$1" in
    --dir) dir="$2"; shift 2 ;;
    --host) host="$2"; shift 2 ;;
    --bind) bind="$2"; shift 2 ;;
    --public-ip) public_ip="$2"; shift 2 ;;
    --xmpp-port) xmpp_port="$2"; shift 2 ;;
    --turn-port) turn_port="$2"; shift 2 ;;
    --relay-ports) relay_ports="$2"; shift 2 ;;
    --loopback-peers) loopback_peers=1; shift ;;
    --no-turn) turn=0; shift ;;
    *) die "unknown option: $1" ;;
  esac
done
[[ -n "$dir" ]] || die "--dir DIR is needed: the folder for the servers' configs, data and logs"
[[ "$host" =~ ^[A-Za-z0-9.-]+$ ]] || die "--host must be a domain name (letters, digits, dots, dashes): $host"
[[ "$bind" =~ ^[0-9a-fA-F.:]+$ ]] || die "--bind must be an IP address: $bind"
[[ -z "$public_ip" || "$public_ip" =~ ^[0-9a-fA-F.:]+$ ]] || die "--public-ip must be an IP address: $public_ip"
# The configs hold the TURN secret: for this user's eyes only.
umask 077

# Stops the processes whose pids are in the files given: TERM to all at
# once (coturn takes about 2 s, Prosody 1 s), then KILL after 5 s.
stop_pidfiles() {
  local file pid pids=()
  for file in "$@"; do
    [[ -s "$file" ]] && pid="$(cat "$file")" && [[ "$pid" =~ ^[0-9]+$ ]] && kill -TERM "$pid" 2>/dev/null && pids+=("$pid")
    rm -f "$file"
  done
  for pid in "${pids[@]}"; do
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
    kill -KILL "$pid" 2>/dev/null || true
  done
}

stop_all() { stop_pidfiles "$dir/turnserver.run.pid" "$dir/prosody.run.pid"; }

if [[ "$command_name" == stop ]]; then
  [[ -d "$dir" ]] || exit 0
  stop_all
  exit 0
fi
[[ "$command_name" == start || "$command_name" == run ]] || die "unknown command: $command_name"

command -v prosody >/dev/null || die "prosody is not installed (Debian package prosody; tools/install-deps.sh)"
((turn == 0)) || command -v turnserver >/dev/null ||
  die "turnserver is not installed (Debian package coturn; tools/install-deps.sh)"
command -v ss >/dev/null || die "ss is not installed (Debian package iproute2)"

mkdir -p "$dir/data" "$dir/certs"
dir="$(cd "$dir" && pwd)"
[[ "$dir" != *[\"\\\ ]* ]] || die "--dir must not hold quotes, backslashes or spaces: $dir"

# A port nothing on this machine uses yet, TCP or UDP.
free_port() {
  local used port
  used="$(ss -Htuan | awk '{ n = split($5, a, ":"); print a[n] }')"
  for _ in $(seq 200); do
    port=$((20000 + RANDOM % 30000))
    grep -qx "$port" <<<"$used" || { echo "$port"; return; }
  done
  die "no free port found"
}
[[ "$xmpp_port" == auto ]] && xmpp_port="$(free_port)"
if [[ "$turn_port" == auto ]]; then
  turn_port="$(free_port)"
  [[ -n "$relay_ports" ]] || { lo=$((50000 + RANDOM % 15000)); relay_ports="$lo-$((lo + 199))"; }
fi
[[ -n "$relay_ports" ]] || relay_ports=49152-65535
[[ "$xmpp_port" =~ ^[0-9]+$ && "$turn_port" =~ ^[0-9]+$ ]] || die "ports are numbers or auto"
[[ "$relay_ports" =~ ^([0-9]+)-([0-9]+)$ ]] || die "--relay-ports must be LOW-HIGH: $relay_ports"
relay_min="${BASH_REMATCH[1]}" relay_max="${BASH_REMATCH[2]}"

secret="$(od -An -N24 -tx1 /dev/urandom | tr -d ' \n')"
run_as_root=""
[[ $(id -u) -eq 0 ]] && run_as_root="run_as_root = true"
turn_host="${public_ip:-$bind}"
external_ip=""
[[ -n "$public_ip" && "$public_ip" != "$bind" ]] && external_ip="external-ip=$public_ip/$bind"
loopback=""
((loopback_peers)) && loopback="allow-loopback-peers"

# LOBBY_LOG_LEVEL=debug: both servers say everything they do.
verbose=""
[[ "${LOBBY_LOG_LEVEL:-}" == debug ]] && verbose=verbose
fill() {
  sed -e "s|@DIR@|$dir|g" -e "s|@HOST@|$host|g" -e "s|@BIND@|$bind|g" \
      -e "s|@XMPP_PORT@|$xmpp_port|g" -e "s|@TURN_PORT@|$turn_port|g" -e "s|@TURN_HOST@|$turn_host|g" \
      -e "s|@TURN_SECRET@|$secret|g" -e "s|@TURN_TTL@|3600|g" -e "s|@RUN_AS_ROOT@|$run_as_root|g" \
      -e "s|@LOG_LEVEL@|${LOBBY_LOG_LEVEL:-info}|g" -e "s|@RELAY_IP@|$bind|g" \
      -e "s|@EXTERNAL_IP@|$external_ip|g" -e "s|@RELAY_MIN@|$relay_min|g" -e "s|@RELAY_MAX@|$relay_max|g" \
      -e "s|@LOOPBACK_PEERS@|$loopback|g" -e "s|@VERBOSE@|$verbose|g" "$1"
}
fill "$here/prosody.cfg.lua.in" >"$dir/prosody.cfg.lua"
((turn == 0)) || fill "$here/turnserver.conf.in" >"$dir/turnserver.conf"
# Prosody needs no TURN server to start; without one it offers no TURN.
((turn == 1)) || sed -i -e '/"turn_external";/d' -e '/^turn_external_/d' "$dir/prosody.cfg.lua"

stop_all
in_use() { ss -Htuan "sport = :$1" | grep -q .; }
in_use "$xmpp_port" && die "port $xmpp_port (XMPP) is in use already; choose another with --xmpp-port, or auto"
((turn == 0)) || ! in_use "$turn_port" ||
  die "port $turn_port (STUN and TURN) is in use already; choose another with --turn-port, or auto"
# Each in its own session, so that the caller's Ctrl-C reaches only run's trap.
setsid prosody --config "$dir/prosody.cfg.lua" -F >"$dir/prosody.out" 2>&1 </dev/null &
echo $! >"$dir/prosody.run.pid"
if ((turn)); then
  setsid turnserver -c "$dir/turnserver.conf" >"$dir/turnserver.out" 2>&1 </dev/null &
  echo $! >"$dir/turnserver.run.pid"
fi

# Listening on the port, and by the process we started.
listening() { ss -Hlntp "sport = :$1" | grep -q "pid=$(cat "$2")[,)]"; }
ready=0
for _ in $(seq $((wait_s * 10))); do
  if listening "$xmpp_port" "$dir/prosody.run.pid" &&
     { ((turn == 0)) || listening "$turn_port" "$dir/turnserver.run.pid"; }; then ready=1; break; fi
  kill -0 "$(cat "$dir/prosody.run.pid")" 2>/dev/null || break
  ((turn == 0)) || kill -0 "$(cat "$dir/turnserver.run.pid")" 2>/dev/null || break
  sleep 0.1
done
if ((ready == 0)); then
  stop_all
  echo "serve.sh: the lobby did not start within ${wait_s} s; the servers said:" >&2
  tail -n 5 "$dir/prosody.out" "$dir/prosody.log" "$dir/turnserver.out" "$dir/turnserver.log" 2>/dev/null >&2 || true
  exit 1
fi
((turn)) || turn_port=0
printf 'XMPP_PORT=%s\nTURN_PORT=%s\nHOST=%s\nBIND=%s\n' "$xmpp_port" "$turn_port" "$host" "$bind" | tee "$dir/ports"

if [[ "$command_name" == run ]]; then
  trap 'stop_all; exit 0' INT TERM
  echo "serve.sh: the lobby runs; Ctrl-C stops it" >&2
  while kill -0 "$(cat "$dir/prosody.run.pid")" 2>/dev/null; do sleep 1; done
  stop_all
  die "prosody stopped by itself; see $dir/prosody.log"
fi
