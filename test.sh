#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
#   ./test.sh                  the normal build (build/)
#   ./test.sh --sanitize       the same suite under AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/)
#   ./test.sh --lint [FILE...] the layout and naming checks on the given files, or on every source file
set -euo pipefail
cd "$(dirname "$0")"

if [ "${1:-}" = "--lint" ]; then
  shift
  tools/setup.sh build
  exec tools/lint.sh build "$@"
fi

build=build
opts=()
if [ "${1:-}" = "--sanitize" ]; then
  build=build-asan
  opts=(-DTAVLIX_SANITIZE=ON -DTAVLIX_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug)
fi
tools/setup.sh "$build" "${opts[@]}"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1
# Leaks of system libraries that the sanitizer reports but Tavlix cannot free.
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
