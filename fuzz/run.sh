#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Usage: fuzz/run.sh [SECONDS] [FUZZER]
# Fuzzes for SECONDS (default 60) with AddressSanitizer and UndefinedBehaviorSanitizer; FUZZER
# is convert_clip (the default: any bytes as a clip through ConvertClip) or clip_demuxer (any
# bytes as a clip through the GStreamer plugin's demuxer, fed whole and in pieces). Builds with clang in build-fuzz,
# makes the seed corpora there from clips of real pictures, and keeps what it learns in
# build-fuzz/fuzz-corpus. A crash leaves its input in build-fuzz/fuzz-findings and fails.
set -euo pipefail
seconds=${1:-60}
fuzzer=${2:-convert_clip}
case $fuzzer in
  convert_clip) seeds=clips max_len=300000 ;;
  clip_demuxer) seeds=clips max_len=300000 ;;
  *) echo "unknown fuzzer: $fuzzer" >&2; exit 2 ;;
esac
cd "$(dirname "$0")/.."
build=build-fuzz
CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DREELCRAFT_FUZZ=ON -DREELCRAFT_SANITIZE=ON -DREELCRAFT_UI=OFF -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target "${fuzzer}_fuzzer" make_fuzz_seeds -j "${JOBS:-2}"
if [ ! -d "$build/fuzz-seeds/$seeds" ]; then
  rm -rf "$build/fuzz-seeds"
  "$build/fuzz/make_fuzz_seeds" "$build/fuzz-seeds"
fi
mkdir -p "$build/fuzz-corpus/$fuzzer" "$build/fuzz-findings"
# Every run writes a clip and an AVI file: in memory when the machine offers it, in a folder
# that goes with the run.
base=${TMPDIR:-/tmp}
if [ -z "${TMPDIR:-}" ] && [ -w /dev/shm ]; then
  base=/dev/shm
fi
work=$(mktemp -d "$base/reelcraft-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT
export TMPDIR=$work
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
"$build/fuzz/${fuzzer}_fuzzer" -max_total_time="$seconds" -max_len="$max_len" -timeout=30 \
  -print_final_stats=1 -artifact_prefix="$build/fuzz-findings/${fuzzer}-" \
  "$build/fuzz-corpus/$fuzzer" "$build/fuzz-seeds/$seeds"
