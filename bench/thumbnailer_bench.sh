#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Times the thumbnailer on the first pictures a file manager may meet, hostile ones among them,
# and measures its peak resident memory: one line per clip with the exit status, seconds taken,
# processor seconds and megabytes. Not a test: run it by hand, with a build folder that holds
# the thumbnailer and make_bench_clips, and optionally another thumbnailer to compare with:
#   bench/thumbnailer_bench.sh [BUILD_FOLDER] [THUMBNAILER] [SIZE]
# A run is stopped after TIMEOUT (120) seconds.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
thumbnailer=${2:-$build/gui/reelcraft-thumbnailer}
size=${3:-256}
work=$(mktemp -d "${TMPDIR:-/tmp}/thumbnailer-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

"$build/bench/make_bench_clips" thumbnails "$work" >"$work/clips.txt"
printf '%-62s %6s %8s %8s %8s\n' picture status seconds cpu MB
while IFS=$'\t' read -r clip name; do
  rm -f "$work/thumb.png"
  status=0
  /usr/bin/time -f '%e %U %S %M' -o "$work/time.txt" \
    timeout "${TIMEOUT:-120}" "$thumbnailer" -s "$size" "$clip" "$work/thumb.png" \
    >/dev/null 2>&1 || status=$?
  # time puts a line of its own before the figures when the command fails.
  read -r wall user system kb < <(tail -1 "$work/time.txt")
  printf '%-62s %6s %8s %8.2f %8.1f\n' "$name" "$status" "$wall" \
    "$(echo "$user + $system" | bc)" "$(echo "scale=1; $kb / 1024" | bc)"
done <"$work/clips.txt"
