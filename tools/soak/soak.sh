#!/usr/bin/env bash
# The soak run: fight after fight of random keys for both players on the
# default content, an hour of game time, memory sampled every minute; then
# a shorter stretch under valgrind's memcheck, which must report no error
# and no leak. Its keys (seed 6) knock out a fighter twice in the first five
# minutes, so memcheck sees start-ups, fights, knock-outs, end screens and
# the game torn down.
#   tools/soak/soak.sh [MINUTES] [VALGRIND_MINUTES]     (60 and 5)
# Builds into build-soak/ (optimised, with debug information).
set -euo pipefail
cd "$(dirname "$0")/../.."
minutes=${1:-60}
vg_minutes=${2:-5}
build=build-soak
if [[ ! -f $build/build.ninja ]]; then
  cmake -S . -B $build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DINKBLOT_BENCH=OFF >/dev/null
fi
cmake --build $build --target inkblot-soak content

echo "== $minutes minutes of game time"
/usr/bin/time -f "wall %e s, peak RSS %M KB" \
  $build/tools/soak/inkblot-soak --data $build/data --minutes "$minutes" --sample-seconds 60

echo "== $vg_minutes minutes of game time under valgrind memcheck"
valgrind --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite,indirect,possible \
  --show-leak-kinds=definite,indirect,possible \
  $build/tools/soak/inkblot-soak --data $build/data --minutes "$vg_minutes" --seed 6 \
  --sample-seconds 60
