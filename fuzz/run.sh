#!/usr/bin/env bash
# Fuzzes the conversion entry for SECONDS (default 60) with AddressSanitizer and
# UndefinedBehaviorSanitizer. Builds with clang in build-fuzz, makes the seed corpus there from
# clips of real pictures, and keeps what it learns in build-fuzz/fuzz-corpus. A crash leaves
# its input in build-fuzz/fuzz-findings and fails the run.
set -euo pipefail
seconds=${1:-60}
cd "$(dirname "$0")/.."
build=build-fuzz
CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DREELCRAFT_FUZZ=ON -DREELCRAFT_SANITIZE=ON -DREELCRAFT_UI=OFF -DREELCRAFT_TESTS=OFF >/dev/null
cmake --build "$build" --target convert_clip_fuzzer make_fuzz_seeds -j "${JOBS:-2}"
mkdir -p "$build/fuzz-seeds" "$build/fuzz-corpus" "$build/fuzz-findings"
if [ -z "$(ls -A "$build/fuzz-seeds")" ]; then
  "$build/fuzz/make_fuzz_seeds" "$build/fuzz-seeds"
fi
# Every run writes a clip and an AVI file: in memory when the machine offers it.
if [ -z "${TMPDIR:-}" ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
"$build/fuzz/convert_clip_fuzzer" -max_total_time="$seconds" -max_len=300000 -timeout=30 \
  -print_final_stats=1 -artifact_prefix="$build/fuzz-findings/" \
  "$build/fuzz-corpus" "$build/fuzz-seeds"
