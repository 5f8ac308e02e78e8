#!/usr/bin/env bash
# A packager's build: configured with CMake's BUILD_TESTING off, it builds
# the three programs, the content and the package, and nothing of the
# tests, benchmarks, soak or fuzzers. Only configures; builds nothing.
# usage: tools/package/without_tests_test.sh SOURCE_DIR
set -euo pipefail
source=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake -S "$source" -B "$work" -G Ninja -DBUILD_TESTING=OFF >"$work/configure.log" 2>&1 \
  || { cat "$work/configure.log" >&2; fail "the build without tests does not configure"; }
# Every program the build links, by the link rules Ninja was given.
programs=$(grep -oE '^build [^:]+: CXX_EXECUTABLE_LINKER' "$work/build.ninja" \
  | awk '{print $2}' | tr -d : | xargs -n1 basename | sort | tr '\n' ' ')
[[ $programs == "inkblot-contentgen inkblot-fighter inkblot-sim " ]] \
  || fail "programs built without tests: $programs"
for wanted in package content; do
  grep -qE "^build $wanted:" "$work/build.ninja" || fail "no target $wanted"
done
[[ ! -f $work/CTestTestfile.cmake ]] || ! grep -q add_test "$work/CTestTestfile.cmake" \
  || fail "tests are configured"
echo "ok: $programs+ content and package"
