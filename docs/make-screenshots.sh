#!/usr/bin/env bash
# Remakes the README's screenshots with inkblot-sim on the default content.
# usage: docs/make-screenshots.sh [BUILD_DIR]   (after ./play or ./check)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
"$build/inkblot-sim" --data "$build/data" --script docs/screenshots.script --passes 200 \
    --screenshot 1:"$PWD/docs/screenshot-splash.png" --screenshot 200:"$PWD/docs/screenshot-fight.png"
# A match: quill's second punch lands (pass 286), the frame after it shows
# its spark, rook's flash and the combo counter.
"$build/inkblot-sim" --data "$build/data" --match --script docs/hit-combo.script --passes 287 \
    --screenshot 287:"$PWD/docs/hit-combo.png"
# Rook jumps and stamps down on quill from the top of the jump (the hit at
# pass 269).
"$build/inkblot-sim" --data "$build/data" --match --script docs/jump-attack.script --passes 270 \
    --screenshot 270:"$PWD/docs/jump-attack.png"
# Training with the input display and the frame data on, the frame after
# rook's second punch lands on the dummy (pass 195).
"$build/inkblot-sim" --data "$build/data" --training --script docs/training.script --passes 196 \
    --screenshot 196:"$PWD/docs/training.png"
# Slate against wisp on the harbour, the same combo as above: the new
# fighters, the second stage and the name tags over the panel.
"$build/inkblot-sim" --data "$build/data" --match --p1 slate --p2 wisp --stage harbour \
    --script docs/hit-combo.script --passes 287 --screenshot 287:"$PWD/docs/slate-wisp-harbour.png"
# The select screen on the default content.
"$build/inkblot-sim" --data "$build/data" --select --script docs/select.script --passes 120 \
    --screenshot 120:"$PWD/docs/screenshot-select.png"
