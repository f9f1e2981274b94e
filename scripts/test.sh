#!/usr/bin/env bash
# Builds the player and runs every test: unit, scenario and end-to-end tests, and the
# fuzz corpora replayed as tests. Installs what is missing first.
#   scripts/test.sh              the normal build (build/)
#   scripts/test.sh --sanitize   address + undefined-behaviour sanitizers (build-asan/)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

dir=build
flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-asan
  flags=(-DCMAKE_BUILD_TYPE=Debug -DQV_SANITIZE=ON -DQV_BENCH=OFF)
fi

cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$dir"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$dir" --output-on-failure -j2
