#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test through CTest.
# With --sanitize, builds a second tree with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs the tests there too.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs=$(nproc)
run_tests() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja "$@"
  cmake --build "$dir" -j "$jobs"
  (cd "$dir" && ctest --output-on-failure -j "$jobs" --timeout 600)
}

run_tests build
if [ "${1:-}" = "--sanitize" ]; then
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  run_tests build-sanitize -DCMAKE_BUILD_TYPE=Debug -DREELCRAFT_SANITIZE=ON
  if [ -x fuzz/run.sh ]; then
    bash fuzz/run.sh 60
  fi
fi
