#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is needed, builds, and runs every test through CTest, with warnings as errors.
# Then builds the Release configuration, as a packager would, and runs the tests there too (the
# optimiser warns about other things and may expose other faults).
# With --sanitize, builds a further tree with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs the tests there too.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs=$(nproc)
# Compiles are shared between the build folders and with other checkouts of the project.
export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
run_tests() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja -DREELCRAFT_WERROR=ON -DREELCRAFT_CCACHE=ON "$@"
  cmake --build "$dir" -j "$jobs"
  (cd "$dir" && ctest --output-on-failure -j "$jobs" --timeout 600)
}

run_tests build
# The Release build as Debian packages it: zsh completions where Debian's zsh looks.
run_tests build-release -DCMAKE_BUILD_TYPE=Release \
  -DREELCRAFT_ZSH_COMPLETION_DIR=share/zsh/vendor-completions
if [ "${1:-}" = "--sanitize" ]; then
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  run_tests build-sanitize -DCMAKE_BUILD_TYPE=Debug -DREELCRAFT_SANITIZE=ON
  if [ -x fuzz/run.sh ]; then
    bash fuzz/run.sh 60
    bash fuzz/run.sh 30 clip_demuxer
  fi
fi
