#!/usr/bin/env bash
# Remakes the README's screenshots with inkblot-sim on the default content.
# usage: docs/make-screenshots.sh [BUILD_DIR]   (after ./play or ./check)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
"$build/inkblot-sim" --data "$build/data" --script docs/screenshots.script --passes 200 \
    --screenshot 1:"$PWD/docs/screenshot-splash.png" --screenshot 200:"$PWD/docs/screenshot-fight.png"
