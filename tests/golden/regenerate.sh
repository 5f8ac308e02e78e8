#!/usr/bin/env bash
# Rewrites tests/golden/frames.txt from the frames the renderer draws now.
# Look at the frames first: the test leaves them as PNG files when they differ.
set -euo pipefail
build=${1:-build}
INKBLOT_UPDATE_GOLDEN=1 "$build/tests/inkblot-tests" --gtest_filter='RenderGolden.*'
