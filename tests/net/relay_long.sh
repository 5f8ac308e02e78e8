#!/usr/bin/env bash
# The longer bad lines, a minute and more each, side by side (not in
# ./check): the one-way delay growing to 100 ms and to 300 ms over a
# minute, and 300 ms that falls back to nothing after 30 s.
#   tests/net/relay_long.sh [BUILD_DIR]
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
exec "$here/side_by_side.sh" "$here/relay_fight_test.sh" "$build/inkblot-sim" "$build/tests/inkblot-relay" \
  "$build/data" ::: rise100 rise300 fall
