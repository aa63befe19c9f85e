#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Times qvj2avi against cp of the same bytes and against ffmpeg copying the same pictures into
# an AVI file, and measures its peak resident memory; with the GStreamer plugin built, times
# qvjdemux demuxing the large clips to fakesink against qvj2avi converting them, and measures
# the memory of that pipeline. Medians of 5 runs, taken in turns so that
# a change in the machine's load touches every command alike. Not a test: run it by hand on a
# quiet machine, with a build folder that holds qvj2avi, make_bench_clips and copy_file:
#   bench/run_bench.sh [BUILD_FOLDER]
# BENCH_MB (300) sets the size of the large clips, BENCH_CLIPS (1000) the number of small ones,
# BENCH_COPY_MB (1024) the size of the file that the windows' copy to a target takes. The clips
# and that file (about 2.5 GB in all) go to a temporary folder that is removed at the end; set
# TMPDIR to put it elsewhere.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
qvj2avi=$build/cli/qvj2avi
make_clips=$build/bench/make_bench_clips
copy_file=$build/bench/copy_file
plugin=$build/gui/libgstreelcraft.so
runs=5
# Smaller figures for a quick try of the script itself.
big=${BENCH_MB:-300}
copy_mb=${BENCH_COPY_MB:-1024}
small=$((big / 10))
many=${BENCH_CLIPS:-1000}
work=$(mktemp -d "${TMPDIR:-/tmp}/qvj2avi-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

# "WALL CPU": seconds taken by the command and processor seconds it used (user and system),
# after the output of the previous run is flushed to disk.
measure() {
  sync
  local start end
  start=$(date +%s%N)
  /usr/bin/time -f '%U %S' -o "$work/cpu.txt" "$@" >/dev/null 2>&1
  end=$(date +%s%N)
  local user system
  read -r user system <"$work/cpu.txt"
  echo "$(fraction "($end - $start) / 1000000000") $(fraction "$user + $system")"
}

fraction() { printf '%.3f' "$(echo "scale=4; $1" | bc)"; }
median() { printf '%s\n' "$@" | sort -g | sed -n "$(( ($# + 1) / 2 ))p"; }
ratio() { printf '%.2f' "$(echo "scale=4; $1 / $2" | bc)"; }

# Peak resident memory of the command in MB.
peak_mb() {
  local kb
  kb=$(/usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1)
  echo "scale=1; $kb / 1024" | bc
}

# compare NAME CMD1 -- CMD2 [-- CMD3]: medians of each command, taken in turns.
declare -A result cpu_result
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
  local -a walls cpus
  local i c wall cpu
  for c in "${!commands[@]}"; do walls[c]="" cpus[c]=""; done
  for ((i = 0; i < runs; i++)); do
    for c in "${!commands[@]}"; do
      rm -rf "$work/out" && mkdir -p "$work/out"
      read -r wall cpu <<<"$(measure bash -c "${commands[c]}")"
      walls[c]+=" $wall"
      cpus[c]+=" $cpu"
    done
  done
  for c in "${!commands[@]}"; do
    # shellcheck disable=SC2086
    result[$name,$c]=$(median ${walls[c]})
    # shellcheck disable=SC2086
    cpu_result[$name,$c]=$(median ${cpus[c]})
  done
}

echo "Load before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) processors"
echo "Making clips in $work ..."
"$make_clips" clip "$work/plain_big.qvj" "$big" --pictures "$work/plain_big.mjpeg"
"$make_clips" clip "$work/plain_small.qvj" "$small"
"$make_clips" clip "$work/sound_big.qvj" "$big" --sound
"$make_clips" clip "$work/sound_small.qvj" "$small" --sound
mkdir -p "$work/many"
"$make_clips" many "$work/many" "$many" 300
head -c "$((copy_mb << 20))" /dev/urandom >"$work/finished.avi"
du -sh "$work"/*.qvj "$work/many" | sed 's/^/  /'

compare plain cp "$work/plain_big.qvj" "$work/out/copy.qvj" \
  -- "$qvj2avi" -q -f -o "$work/out/plain.avi" "$work/plain_big.qvj" \
  -- ffmpeg -nostdin -v error -y -f mjpeg -i "$work/plain_big.mjpeg" -c copy "$work/out/ff.avi" \
  -- dd status=none bs=256K if="$work/plain_big.qvj" of="$work/out/copy.qvj"
compare sound cp "$work/sound_big.qvj" "$work/out/copy.qvj" \
  -- "$qvj2avi" -q -f -o "$work/out/sound.avi" "$work/sound_big.qvj"
compare many cp -r "$work/many" "$work/out/copy" \
  -- "$qvj2avi" -q -j 1 -o "$work/out" "$work"/many/*.qvj \
  -- "$qvj2avi" -q -j 2 -o "$work/out" "$work"/many/*.qvj
compare copy cp "$work/finished.avi" "$work/out/copy.avi" \
  -- "$copy_file" "$work/finished.avi" "$work/out/target.avi"

# The clip's pictures, and its sound if the clip's name says it has some, to fakesinks. One
# thread feeds both, so the sinks do not hold it to preroll; queues would time their threads'
# hand-overs rather than the demuxer.
demux() {
  local sound=()
  [[ $1 == *sound* ]] && sound=(d.audio_0 ! fakesink async=false)
  gst-launch-1.0 -q filesrc location="$1" ! qvjdemux name=d d.video_0 ! fakesink async=false \
    "${sound[@]}"
}
with_plugin=""
if [ -f "$plugin" ] && command -v gst-launch-1.0 >/dev/null; then
  with_plugin=yes
  export GST_PLUGIN_PATH=$build/gui GST_REGISTRY=$work/registry.bin
  export -f demux
  compare demux_plain "$qvj2avi" -q -f -o "$work/out/plain.avi" "$work/plain_big.qvj" \
    -- bash -c 'demux "$0"' "$work/plain_big.qvj"
  compare demux_sound "$qvj2avi" -q -f -o "$work/out/sound.avi" "$work/sound_big.qvj" \
    -- bash -c 'demux "$0"' "$work/sound_big.qvj"
fi

echo
echo "Medians of $runs runs: wall-clock and processor (user + system) seconds, and their"
echo "ratios to cp of the same bytes:"
printf '  %-34s %8s %6s %8s %6s\n' "" wall "x cp" cpu "x cp"
row() {
  local name=$1 key=$2 c=$3
  printf '  %-34s %8s %6s %8s %6s\n' "$name" "${result[$key,$c]}" \
    "$(ratio "${result[$key,$c]}" "${result[$key,0]}")" "${cpu_result[$key,$c]}" \
    "$(ratio "${cpu_result[$key,$c]}" "${cpu_result[$key,0]}")"
}
row "cp, $big MB clip without sound" plain 0
row "qvj2avi, same clip" plain 1
row "ffmpeg -c copy, same pictures" plain 2
row "dd bs=256K (user-space copy)" plain 3
row "cp, $big MB clip with sound" sound 0
row "qvj2avi, same clip" sound 1
row "cp -r, $many clips of 300 KB" many 0
row "qvj2avi -j 1, same clips" many 1
row "qvj2avi -j 2, same clips" many 2
row "cp, $copy_mb MB file" copy 0
row "copy to a target (windows)" copy 1
echo "  qvj2avi / ffmpeg: $(ratio "${result[plain,1]}" "${result[plain,2]}")"
echo "  qvj2avi -j 2 / -j 1: $(ratio "${result[many,2]}" "${result[many,1]}")"
if [ -n "$with_plugin" ]; then
  echo
  echo "Demuxing to fakesink against converting, medians of $runs runs taken in turns:"
  printf '  %-34s %8s %6s %8s %6s\n' "" wall "x qvj" cpu "x qvj"
  row "qvj2avi, $big MB clip without sound" demux_plain 0
  row "qvjdemux to fakesink, same clip" demux_plain 1
  row "qvj2avi, $big MB clip with sound" demux_sound 0
  row "qvjdemux to fakesink, same clip" demux_sound 1
fi

echo
echo "Peak resident memory of qvj2avi (MB):"
for clip in plain_small plain_big sound_small sound_big; do
  rm -rf "$work/out" && mkdir -p "$work/out"
  printf '  %-12s %s\n' "$clip" "$(peak_mb "$qvj2avi" -q -o "$work/out/x.avi" "$work/$clip.qvj")"
done
rm -rf "$work/out" && mkdir -p "$work/out"
printf '  %-12s %s\n' "many -j 2" "$(peak_mb "$qvj2avi" -q -j 2 -o "$work/out" "$work"/many/*.qvj)"
if [ -n "$with_plugin" ]; then
  echo "Peak resident memory of gst-launch-1.0 demuxing to fakesink (MB):"
  for clip in plain_small plain_big sound_small sound_big; do
    printf '  %-12s %s\n' "$clip" "$(peak_mb bash -c 'demux "$0"' "$work/$clip.qvj")"
  done
fi
echo "Load after: $(cut -d' ' -f1-3 /proc/loadavg)"
