#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Drives the built reelcraft's batch window on a virtual display from the keyboard, first with no
# window manager, then under openbox. In each round the window opens on a folder of three clips:
# Create All (Alt+A) gives three AVIs; Create All again, with the AVIs in place, asks three times
# whether to overwrite, and Yes to each replaces all three. No temporary file may be left. Every
# round is run several times: what takes the window's activation can cut a run short at random.
#
#   scripts/batch-e2e.sh [BUILD_FOLDER] [SCREENSHOT_FOLDER] [ROUNDS]
#
# Needs Xvfb, openbox, xdotool, imagemagick, ffprobe (scripts/install-deps.sh).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
shots=${2:-$build/batch-e2e-shots}
rounds=${3:-5}
program=$build/gui/reelcraft
mkdir -p "$shots"
shots=$(cd "$shots" && pwd)
rm -f "$shots"/*.png

source "$root/scripts/e2e-session.sh"
clips=$HOME/clips
out=$HOME/Documents
mkdir -p "$clips"
"$build/tests/make_sample_clips" "$clips" > /dev/null
# The AVI of each clip and its frame count.
declare -A frames=([street_320x240_15fps]=60 [garden_640x480_12]=40
  [harbour_320x240_15fps_sound]=30)

mode=
fail() {
  echo "FAILED ($mode): $*" >&2
  import -window root "$shots/failure-$mode.png" 2> /dev/null || true
  ls -li "$out" "$TMPDIR" >&2 || true
  cat "$work/reelcraft.log" >&2 || true
  exit 1
}
pass() { echo "ok ($mode): $*"; }
shot() {
  sleep 0.3 # let the window finish painting
  import -window root "$shots/$mode-$1.png"
}

# --- helpers (and those of e2e-session.sh)

start() {
  (cd "$clips" && exec "$program" "$@") >> "$work/reelcraft.log" 2>&1 &
  app_pid=$!
}
temporaries() { find "$TMPDIR" -name 'qvj*' | wc -l; }
# Waits until a run is over: every AVI written (a stale one replaced), no temporary file left, the
# keyboard back with the batch window.
wait_run_end() {
  local name done
  for _ in $(seq 300); do
    done=0
    for name in "${!frames[@]}"; do
      [ "$(head -c 4 "$out/$name.avi" 2> /dev/null)" = RIFF ] && done=$((done + 1))
    done
    [ "$done" = 3 ] && [ "$(temporaries)" = 0 ] && break
    sleep 0.1
  done
  [ "$done" = 3 ] || fail "only $done of the three AVIs were written"
  wait_focus "Reelcraft 1-05" > /dev/null
}
check_avis() {
  local name avi
  [ "$(find "$out" -mindepth 1 | wc -l)" = 3 ] || fail "the output folder holds $(ls -A "$out")"
  for name in "${!frames[@]}"; do
    avi=$out/$name.avi
    [ "$(ffprobe -v error -count_frames -select_streams v:0 -show_entries \
      stream=codec_name,nb_read_frames -of csv=p=0 "$avi")" = "mjpeg,${frames[$name]}" ] ||
      fail "$avi is not the clip's ${frames[$name]} MJPEG frames"
  done
  [ "$(ffprobe -v error -select_streams a:0 -show_entries stream=codec_name -of csv=p=0 \
    "$out/harbour_320x240_15fps_sound.avi")" = pcm_u8 ] || fail "the sound clip's AVI has no sound"
  [ "$(temporaries)" = 0 ] || fail "temporary files left: $(ls "$TMPDIR")"
}

# One round: a fresh window, Create All into an empty output folder, then over the AVIs.
round() {
  local n=$1 batch box= name
  rm -f "$out"/*
  start
  batch=$(wait_focus "Reelcraft 1-05")
  [ "$n" = 1 ] && shot 1-batch-window
  keys alt+a
  wait_run_end
  check_avis

  # Stale AVIs in place: each must be asked about and replaced.
  for name in "${!frames[@]}"; do printf 'stale' > "$out/$name.avi"; done
  keys alt+a
  for i in 1 2 3; do
    box=$(wait_focus reelcraft "$box")
    [ "$n" = 1 ] && shot "2-overwrite-question-$i"
    keys alt+y
  done
  wait_run_end
  sleep 0.5 # a fourth question would come now
  [ "$(focused)" = "$batch" ] || fail "after three questions the keyboard is with '$(title_of "$(focused)")'"
  check_avis
  [ "$n" = 1 ] && shot 3-after-overwrite
  keys alt+x
  wait_exit 0
}

wm_pid=
run_mode() {
  mode=$1
  for n in $(seq "$rounds"); do
    round "$n"
    [ -z "$wm_pid" ] || kill -0 "$wm_pid" || fail "openbox has gone: $(cat "$work/openbox.log")"
    pass "round $n: three AVIs, then three questions and three replaced"
  done
}

# --- once: the register prompt (Yes) and its report, so that later starts open the window
mode=setup
start
wait_focus "Reelcraft 1-05" > /dev/null
keys alt+y
wait_focus reelcraft > /dev/null
keys Return
wait_exit 0

run_mode no-window-manager

mode=openbox
start_openbox
run_mode openbox

echo "All rounds passed in both modes; screenshots in $shots"
