#!/usr/bin/env bash
# A small internet in network namespaces, made and removed by this test:
# a "public" network 203.0.113.0/24 with the lobby (Prosody and coturn,
# started by tools/lobby/serve.sh) at 203.0.113.1, and homes behind NAT
# routers made with nftables masquerading, on 192.0.2.0/24. Two sims in
# two homes meet in the lobby by a room code and fight over the line ICE
# found; both must end on one hash. A spectator in a third home (behind a
# NAT that keeps a source port's mapping) watches by the room's code from
# step 1,000, over a line of its own to the host, and ends on that hash.
#   nat_fight_test.sh SIM DATA SERVE STEPS punch|symmetric
# punch:     both NATs keep a source port's mapping: hole punching gives a
#            direct line.
# symmetric: one NAT maps every destination to a new random port, so
#            punching fails: the line goes through the TURN relay.
# Needs root (namespaces, nftables); without it, or without prosody,
# coturn or nft, it says so and is skipped (status 77).
set -euo pipefail
sim=$(realpath "$1") data=$(realpath "$2") serve=$(realpath "$3") steps=$4 case=$5
here=$(cd "$(dirname "$0")" && pwd)
skip() { echo "skipped: $*"; exit 77; }
(( $(id -u) == 0 )) || skip "network namespaces need root"
for program in prosody turnserver nft ip; do
  command -v "$program" >/dev/null || skip "$program is not installed (tools/install-deps.sh)"
done
# shellcheck source=fight_work.sh
source "$here/fight_work.sh"

tag=ib$$            # namespace names of this run only
spaces=()
teardown() {
  ip netns exec "$tag-pub" "$serve" stop --dir "$work/lobby" 2>/dev/null || true
  for n in "${spaces[@]}"; do ip netns del "$n" 2>/dev/null || true; done
  cleanup
}
trap teardown EXIT
ns() { local n=$tag-$1; shift; ip netns exec "$n" "$@"; }
space() {
  ip netns add "$tag-$1" || skip "cannot make network namespaces here"
  spaces+=("$tag-$1")
  ns "$1" ip link set lo up
}

# The public network: a bridge in "pub", the lobby on it.
space pub
ns pub ip link add name pubnet type bridge
ns pub ip addr add 203.0.113.1/24 dev pubnet
ns pub ip link set pubnet up
# What is sent to addresses nowhere (a home's private one) is lost without a
# word, as on the internet: coturn closes an allocation whose relay meets
# "network unreachable".
ns pub ip link add name nowhere type veth peer name nowhere-end
ns pub ip link set nowhere up
ns pub ip link set nowhere-end up
ns pub ip neigh add 198.51.100.1 lladdr 02:00:00:00:00:01 dev nowhere nud permanent
ns pub ip route add default via 198.51.100.1 dev nowhere onlink

# A home N behind a router: LAN 192.0.2.(64N)/26, WAN 203.0.113.(10+N).
# RULE: the router's nftables masquerade ("" keeps a source port's mapping,
# "random" maps every destination to a new random port).
home() {
  local n=$1 rule=$2 lan=$((64 * $1))
  space "nat$n"
  space "home$n"
  ip link add "$tag-w$n" type veth peer name wan netns "$tag-nat$n"
  ip link set "$tag-w$n" netns "$tag-pub"
  ns pub ip link set "$tag-w$n" master pubnet up
  ns "nat$n" ip addr add "203.0.113.$((10 + n))/24" dev wan
  ns "nat$n" ip link set wan up
  ip link add "$tag-l$n" type veth peer name eth netns "$tag-home$n"
  ip link set "$tag-l$n" netns "$tag-nat$n"
  ns "nat$n" ip link set "$tag-l$n" name lan
  ns "nat$n" ip addr add "192.0.2.$((lan + 1))/26" dev lan
  ns "nat$n" ip link set lan up
  ns "nat$n" ip route add default via 203.0.113.1
  ns "nat$n" sysctl -qw net.ipv4.ip_forward=1
  ns "nat$n" nft -f - <<NFT
table ip nat {
  chain outgoing { type nat hook postrouting priority srcnat; oifname "wan" masquerade $rule; }
}
table ip guard {
  # Unasked-for packets from outside are dropped before they are tracked,
  # so that they never hold the port a mapping from inside wants to keep.
  chain inbound { type filter hook prerouting priority -150; iifname "wan" ct state new drop; }
}
table ip filter {
  chain passing { type filter hook forward priority 0; policy drop;
    iifname "lan" oifname "wan" accept
    ct state established,related accept
  }
}
NFT
  ns "home$n" ip addr add "192.0.2.$((lan + 2))/26" dev eth
  ns "home$n" ip link set eth up
  ns "home$n" ip route add default via "192.0.2.$((lan + 1))"
}
second_rule=""
[[ $case == symmetric ]] && second_rule=random
home 1 ""
home 2 "$second_rule"
home 3 ""

ns pub "$serve" start --dir "$work/lobby" --bind 203.0.113.1 --xmpp-port 5222 --turn-port 3478 \
  --relay-ports 49152-49407 > lobby.out

expected=direct
[[ $case == symmetric ]] && expected=relayed
ns home1 "$sim" --data "$data" --lobby 203.0.113.1 --ice-address 192.0.2.66 --match host:KQWERT --name rook \
  --script "$here/p1.script" --repeat-script 20000 --steps "$steps" --spectators 0 --progress 1000 > host.out 2>&1 &
pids+=($!)
host=$!
wait_for host.out '^lobby: hosting room \(KQWERT\)$' > /dev/null || { echo "no host"; cat host.out; exit 1; }
ns home2 "$sim" --data "$data" --lobby 203.0.113.1 --ice-address 192.0.2.130 --match join:KQWERT --name quill \
  --script "$here/p2.script" --repeat-script 20000 --steps "$steps" > join.out 2>&1 &
pids+=($!)
join=$!
for _ in $(seq 400); do  # (40 s at most)
  step=$(sed -n 's/^net: progress wall-ms [0-9]* step \([0-9]*\)$/\1/p' host.out | tail -n 1)
  ((${step:-0} >= 1000)) && break
  sleep 0.1
done
ns home3 "$sim" --data "$data" --lobby 203.0.113.1 --ice-address 192.0.2.194 --match watch:KQWERT --name eye \
  > watch.out 2>&1 &
pids+=($!)
watcher=$!
hs=0 js=0 ws=0
wait "$host" || hs=$?
wait "$join" || js=$?
wait "$watcher" || ws=$?
grep -v "^net: progress" host.out
cat join.out watch.out
(( hs == 0 && js == 0 )) || { echo "a side failed; the TURN server said:"; grep -vE "^0: : (IO|turn|relay|Relay|Wait|WARN|CONF)" lobby/turnserver.log | tail -n 60; exit 1; }
for f in host.out join.out; do
  grep -q "^lobby: line up, $expected, after [0-9]* ms$" "$f" || { echo "$f: the line is not $expected"; exit 1; }
  grep -q "^net: steps $steps " "$f" || { echo "$f: not every step was confirmed"; exit 1; }
done
h1=$(sed -n 's/^net: steps [0-9]* hash \([0-9a-f]*\).*/\1/p' host.out)
h2=$(sed -n 's/^net: steps [0-9]* hash \([0-9a-f]*\).*/\1/p' join.out)
[[ -n $h1 && $h1 == "$h2" ]] || { echo "hashes differ: $h1 / $h2"; exit 1; }
(( ws == 0 )) || { echo "the spectator failed"; exit 1; }
joined=$(sed -n 's/^watch: joined at step \([0-9]*\)$/\1/p' watch.out)
((${joined:-0} >= 1000)) || { echo "the spectator came at step ${joined:-none}, not from step 1,000"; exit 1; }
grep -q "^watch: steps $steps hash $h1 " watch.out || { echo "the spectator did not end on the players' hash"; exit 1; }
