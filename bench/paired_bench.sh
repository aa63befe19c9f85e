#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Times two qvj2avi binaries against each other, in turns (A B A B ...) so that a change in the
# machine's load touches both alike, on the large clips with and without sound and on many
# small ones; also the new binary with --salvage against itself without, on undamaged clips.
# Medians of RUNS (9) with the lowest and highest, and each pair's AVIs compared byte for byte.
# Not a test: run it by hand on a quiet machine.
#   bench/paired_bench.sh OLD_QVJ2AVI NEW_QVJ2AVI [BUILD_FOLDER]
set -euo pipefail
old=$(realpath "$1")
new=$(realpath "$2")
build=$(cd "${3:-build}" && pwd)
runs=${RUNS:-9}
big=${BENCH_MB:-300}
many=${BENCH_CLIPS:-1000}
work=$(mktemp -d "${TMPDIR:-/tmp}/qvj2avi-paired.XXXXXX")
trap 'rm -rf "$work"' EXIT

"$build/bench/make_bench_clips" clip "$work/plain.qvj" "$big" > /dev/null
"$build/bench/make_bench_clips" clip "$work/sound.qvj" "$big" --sound > /dev/null
mkdir -p "$work/many"
"$build/bench/make_bench_clips" many "$work/many" "$many" 300 > /dev/null

# Wall seconds of one run, after the previous output is on disk and gone.
seconds() {
  rm -rf "$work/out" && mkdir "$work/out" && sync
  local start end
  start=$(date +%s%N)
  "$@" > /dev/null 2>&1 || true
  end=$(date +%s%N)
  printf '%.3f' "$(echo "scale=4; ($end - $start) / 1000000000" | bc)"
}
summary() { # median (lowest-highest)
  local sorted
  sorted=($(printf '%s\n' "$@" | sort -g))
  echo "${sorted[$((${#sorted[@]} / 2))]} (${sorted[0]}-${sorted[-1]})"
}

# compare NAME "A command" "B command" [nodiff]: both write into $work/out.
compare() {
  local name=$1 a=$2 b=$3 times_a=() times_b=()
  for _ in $(seq "$runs"); do
    times_a+=("$(seconds bash -c "$a")")
    cp -r "$work/out" "$work/out-a"
    times_b+=("$(seconds bash -c "$b")")
    [ -n "${4:-}" ] || diff -rq "$work/out-a" "$work/out" > /dev/null ||
      echo "  $name: the AVIs differ" >&2
    rm -rf "$work/out-a"
  done
  printf '%-34s A %-22s B %s\n' "$name" "$(summary "${times_a[@]}")" "$(summary "${times_b[@]}")"
}

echo "A: $old"
echo "B: $new"
for clip in plain sound; do
  compare "$big MB, $clip" "'$old' -q -o '$work/out/' '$work/$clip.qvj'" \
    "'$new' -q -o '$work/out/' '$work/$clip.qvj'"
done
compare "$many clips of 300 KB, -j 1" "'$old' -q -j1 -r -o '$work/out' '$work/many'" \
  "'$new' -q -j1 -r -o '$work/out' '$work/many'"
echo "A: $new"
echo "B: $new --salvage"
for clip in plain sound; do
  compare "$big MB, $clip" "'$new' -q -o '$work/out/' '$work/$clip.qvj'" \
    "'$new' -q -s -o '$work/out/' '$work/$clip.qvj'"
done
echo "A: dd bs=256K of the clip into the same folder"
echo "B: $new"
for clip in plain sound; do
  compare "$big MB, $clip" "dd if='$work/$clip.qvj' of='$work/out/$clip.avi' bs=256K" \
    "'$new' -q -o '$work/out/' '$work/$clip.qvj'" nodiff
done
if command -v gst-launch-1.0 > /dev/null && [ -e "$build/gui/libgstreelcraft.so" ]; then
  echo "A: $new"
  echo "B: the GStreamer element of $build to fakesinks"
  compare "$big MB, sound" "'$new' -q -o '$work/out/' '$work/sound.qvj'" \
    "GST_PLUGIN_PATH='$build/gui' gst-launch-1.0 -q filesrc location='$work/sound.qvj' ! \
     qvjdemux name=d d.video_0 ! fakesink async=false d.audio_0 ! fakesink async=false" nodiff
fi
echo "Peak memory of $new (kB):"
"$build/bench/make_bench_clips" clip "$work/small-plain.qvj" 30 > /dev/null
"$build/bench/make_bench_clips" clip "$work/small-sound.qvj" 30 --sound > /dev/null
for clip in small-plain small-sound plain sound; do
  rm -rf "$work/out" && mkdir "$work/out"
  /usr/bin/time -f "  $clip: %M" "$new" -q -o "$work/out/" "$work/$clip.qvj"
done
