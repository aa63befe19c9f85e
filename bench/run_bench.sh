#!/usr/bin/env bash
# Times qvj2avi against cp of the same bytes and against ffmpeg copying the same pictures into
# an AVI file, and measures its peak resident memory. Medians of 5 runs, taken in turns so that
# a change in the machine's load touches every command alike. Not a test: run it by hand on a
# quiet machine, with a build folder that holds qvj2avi and make_bench_clips:
#   bench/run_bench.sh [BUILD_FOLDER]
# The clips (about 1.5 GB in all) go to a temporary folder that is removed at the end; set
# TMPDIR to put it elsewhere.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
qvj2avi=$build/cli/qvj2avi
make_clips=$build/bench/make_bench_clips
runs=5
work=$(mktemp -d "${TMPDIR:-/tmp}/qvj2avi-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Seconds taken by the command, after the output of the previous run is flushed to disk.
seconds() {
  sync
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s%N)
  echo "scale=4; ($end - $start) / 1000000000" | bc
}

median() { printf '%s\n' "$@" | sort -g | sed -n "$(( ($# + 1) / 2 ))p"; }
ratio() { echo "scale=2; $1 / $2" | bc; }

# Peak resident memory of the command in MB.
peak_mb() {
  local kb
  kb=$(/usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1)
  echo "scale=1; $kb / 1024" | bc
}

# compare NAME CMD1 -- CMD2 [-- CMD3]: medians of each command, taken in turns.
declare -A result
compare() {
  local name=$1
  shift
  local -a commands=()
  local current=""
  for word in "$@"; do
    if [ "$word" = "--" ]; then
      commands+=("$current")
      current=""
    else
      current+="$(printf '%q ' "$word")"
    fi
  done
  commands+=("$current")
  local -a times
  local i c
  for c in "${!commands[@]}"; do times[c]=""; done
  for ((i = 0; i < runs; i++)); do
    for c in "${!commands[@]}"; do
      rm -rf "$work/out" && mkdir -p "$work/out"
      times[c]+=" $(seconds bash -c "${commands[c]}")"
    done
  done
  for c in "${!commands[@]}"; do
    # shellcheck disable=SC2086
    result[$name,$c]=$(median ${times[c]})
  done
}

echo "Load before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) processors"
echo "Making clips in $work ..."
"$make_clips" clip "$work/plain300.qvj" 300 --pictures "$work/plain300.mjpeg"
"$make_clips" clip "$work/plain30.qvj" 30
"$make_clips" clip "$work/sound300.qvj" 300 --sound
"$make_clips" clip "$work/sound30.qvj" 30 --sound
mkdir -p "$work/many"
"$make_clips" many "$work/many" 1000 300
du -sh "$work"/*.qvj "$work/many" | sed 's/^/  /'

compare plain cp "$work/plain300.qvj" "$work/out/copy.qvj" \
  -- "$qvj2avi" -q -f -o "$work/out/plain.avi" "$work/plain300.qvj" \
  -- ffmpeg -nostdin -v error -y -f mjpeg -i "$work/plain300.mjpeg" -c copy "$work/out/ff.avi"
compare sound cp "$work/sound300.qvj" "$work/out/copy.qvj" \
  -- "$qvj2avi" -q -f -o "$work/out/sound.avi" "$work/sound300.qvj"
compare many cp -r "$work/many" "$work/out/copy" \
  -- "$qvj2avi" -q -j 1 -o "$work/out" "$work"/many/*.qvj \
  -- "$qvj2avi" -q -j 2 -o "$work/out" "$work"/many/*.qvj

echo
echo "Medians of $runs runs (seconds; ratio to cp of the same bytes):"
printf '  %-34s %8s %8s\n' "" seconds "x cp"
row() { printf '  %-34s %8s %8s\n' "$1" "$2" "$(ratio "$2" "$3")"; }
row "cp, 300 MB clip without sound" "${result[plain,0]}" "${result[plain,0]}"
row "qvj2avi, same clip" "${result[plain,1]}" "${result[plain,0]}"
row "ffmpeg -c copy, same pictures" "${result[plain,2]}" "${result[plain,0]}"
row "cp, 300 MB clip with sound" "${result[sound,0]}" "${result[sound,0]}"
row "qvj2avi, same clip" "${result[sound,1]}" "${result[sound,0]}"
row "cp -r, 1000 clips of 300 KB" "${result[many,0]}" "${result[many,0]}"
row "qvj2avi -j 1, same clips" "${result[many,1]}" "${result[many,0]}"
row "qvj2avi -j 2, same clips" "${result[many,2]}" "${result[many,0]}"
echo "  qvj2avi / ffmpeg: $(ratio "${result[plain,1]}" "${result[plain,2]}")"
echo "  qvj2avi -j 2 / -j 1: $(ratio "${result[many,2]}" "${result[many,1]}")"

echo
echo "Peak resident memory of qvj2avi (MB):"
for clip in plain30 plain300 sound30 sound300; do
  rm -rf "$work/out" && mkdir -p "$work/out"
  printf '  %-10s %s\n' "$clip" "$(peak_mb "$qvj2avi" -q -o "$work/out/x.avi" "$work/$clip.qvj")"
done
rm -rf "$work/out" && mkdir -p "$work/out"
printf '  %-10s %s\n' "many -j 2" "$(peak_mb "$qvj2avi" -q -j 2 -o "$work/out" "$work"/many/*.qvj)"
echo "Load after: $(cut -d' ' -f1-3 /proc/loadavg)"
