#!/usr/bin/env bash
# tools/check-layers.sh on a made-up tree: every arrow that points the wrong
# way and every file that is too long is named, nothing else is, and a tree
# with none of them passes.
# Usage: check_layers_test.sh <check-layers.sh>
set -euo pipefail
check=$(realpath "$1")
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
cd "$tree"
mkdir -p src/app src/content src/fight src/graphics src/input src/net src/platform

put() { printf '%s\n' "${@:2}" >"$1"; }
put src/app/game.h '#pragma once'
put src/content/content.h '#pragma once' '#include "graphics/image.h"'
put src/graphics/image.h '#pragma once' '#include "platform/surface.h"'
put src/platform/surface.h '#pragma once'
put src/input/keys.h '#pragma once'
put src/net/link.h '#pragma once'
put src/fight/step.cpp '#include "step.h"' '#include "content/content.h"' '#include <vector>'
put src/fight/step.h '#pragma once'
put src/app/game.cpp '#include "app/game.h"' '#include "fight/step.h"' '#include "net/link.h"'
put src/platform/sdl_window.cpp '#include "app/game.h"' '#include <net/if.h>'
printf '// a line\n%.0s' {1..350} >src/net/long.cpp

"$check" . >out.txt || { echo "a clean tree fails:"; cat out.txt; exit 1; }
[ ! -s out.txt ] || { echo "a clean tree gives findings:"; cat out.txt; exit 1; }

# Each wrong arrow in another spelling: plain, relative, angle brackets,
# spaces after the hash; a commented-out include is no include.
put src/fight/step.cpp '#include "step.h"' '#include "input/keys.h"' '#  include "../net/link.h"' \
    '// #include "app/game.h"'
put src/fight/rules.h '#pragma once' '#include <app/game.h>'
put src/graphics/draw.cpp '#include "image.h"' '#include "../content/content.h"'
put src/platform/headless.cpp '#include "app/game.h"'
echo '// one more' >>src/net/long.cpp

status=0
"$check" . >out.txt || status=$?
expected="src/fight/rules.h:2: includes app/game.h: src/fight may not include from src/app
src/fight/step.cpp:2: includes input/keys.h: src/fight may not include from src/input
src/fight/step.cpp:3: includes net/link.h: src/fight may not include from src/net
src/graphics/draw.cpp:2: includes content/content.h: src/graphics may not include from src/content
src/platform/headless.cpp:1: includes app/game.h: only src/app may include from src/app
src/net/long.cpp: 351 lines, more than 350
check-layers: 6 finding(s)"
if [ "$status" -ne 1 ] || [ "$(cat out.txt)" != "$expected" ]; then
    echo "exit status $status (1 wanted); findings:"
    diff <(echo "$expected") out.txt || true
    exit 1
fi

status=0
"$check" "$tree/nowhere" 2>/dev/null || status=$?
[ "$status" -eq 2 ] || { echo "a folder without src/ gives exit status $status, not 2"; exit 1; }
echo "check-layers finds every arrow"
