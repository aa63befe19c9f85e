#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Drives the built reelcraft on a virtual display where it removes clips, first with no window
# manager, then under openbox, and checks that no clip is lost: "open" on a whole clip puts the
# AVI beside it and the clip in the Trash; "open" on a clip that ends early keeps the clip and
# says so; a clip whose name holds markup is asked about in plain text; Create All with Delete
# Original over two clips whose names share their part before the first dot gives two AVIs.
# Before that, once: either window killed with SIGKILL while it converts and while it copies
# leaves nothing in the temporary folder or beside the output, and its next run's AVI is whole.
# The message boxes are read off the screen by OCR, with the program drawn at twice the size.
#
#   scripts/clip-safety-e2e.sh [BUILD_FOLDER] [SCREENSHOT_FOLDER]
#
# Needs Xvfb, openbox, xdotool, imagemagick, tesseract, ffprobe, xdg-utils
# (scripts/install-deps.sh).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
shots=${2:-$build/clip-safety-shots}
program=$build/gui/reelcraft
mkdir -p "$shots"
shots=$(cd "$shots" && pwd)
rm -f "$shots"/*.png

source "$root/scripts/e2e-session.sh"
trash=$XDG_DATA_HOME/Trash

mode=setup
fail() {
  echo "FAILED ($mode): $*" >&2
  import -window root "$shots/failure-$mode.png" 2> /dev/null || true
  cat "$work/reelcraft.log" >&2 || true
  exit 1
}
pass() { echo "ok ($mode): $*"; }
shot() {
  sleep 0.3 # let the window finish painting
  import -window root "$shots/$mode-$1.png"
}

use_stand_in_player

start() {
  (cd "$1" && shift && QT_SCALE_FACTOR=2 exec "$program" "$@") >> "$work/reelcraft.log" 2>&1 &
  app_pid=$!
}
# The text on the screen, on one line, as OCR reads it.
screen_text() {
  sleep 0.3 # let the window finish painting
  import -window root -colorspace Gray -resize 200% "$work/screen.png"
  tesseract "$work/screen.png" - 2> /dev/null | tr -s '\n ' ' '
}
frames_of() {
  ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames \
    -of csv=p=0 "$1"
}

clips=$work/samples
mkdir -p "$clips"
"$build/tests/make_sample_clips" "$clips" > /dev/null
sample=$clips/street_320x240_15fps.qvj # 60 pictures

# --- once: register (Yes) so that a declined conversion leads to the batch window
start "$HOME"
wait_focus "Reelcraft 1-05" > /dev/null
keys alt+y
wait_focus reelcraft > /dev/null
keys Return
wait_exit 0

# Kills the program with SIGKILL as soon as it holds a file in folder $1 open (a conversion's
# temporary AVI or sound, a copy's partial file); fails if it ends first.
# One find a look, so that a conversion of a second or two is not missed between looks.
kill_when_writing_in() {
  local folder=$1
  for _ in $(seq 20000); do
    kill -0 "$app_pid" 2> /dev/null || fail "reelcraft ended before it wrote in $folder"
    if [ -n "$(find /proc/"$app_pid"/fd -maxdepth 1 -lname "$folder/*" -print -quit 2> /dev/null)" ]; then
      kill -KILL "$app_pid"
      wait_exit 137
      return 0
    fi
  done
  fail "reelcraft never wrote in $folder"
}
# Nothing of ours may stay in $TMPDIR or in the output folder $1, and the clip $2 is whole.
expect_nothing_left() {
  local left
  left=$(find "$TMPDIR" "$1" -mindepth 1 -type f)
  [ -z "$left" ] || fail "left after kill -9 ($3): $left"
  cmp -s "$2" "$big_copy" || fail "the clip changed ($3)"
}

# 0. kill -9 of either window while it converts and while it copies leaves nothing, neither in
# the temporary folder nor beside the output, and the next run gives the whole AVI.
killed_windows() {
  local dir=$HOME/killed out=$HOME/Documents
  mkdir -p "$dir/out" "$work/reference"
  big_copy=$work/big-original.qvj
  "$build/bench/make_bench_clips" clip "$dir/big.qvj" 400 --sound > /dev/null
  cp "$dir/big.qvj" "$big_copy"
  "$build/cli/qvj2avi" -q -o "$work/reference/" "$dir/big.qvj"
  local phase
  for phase in "$TMPDIR" "$dir/out"; do
    start "$dir" "$dir/big.qvj" "$dir/out/big.avi"
    wait_focus reelcraft > /dev/null
    keys alt+y
    kill_when_writing_in "$phase"
    expect_nothing_left "$dir/out" "$dir/big.qvj" "single window, $phase"
  done
  start "$dir" "$dir/big.qvj" "$dir/out/big.avi"
  wait_focus reelcraft > /dev/null
  keys alt+y
  wait_exit 0
  cmp -s "$dir/out/big.avi" "$work/reference/big.avi" || fail "the single window's AVI after kills"
  rm "$dir/out/big.avi"
  pass "single window: killed converting and copying, nothing left; the next run's AVI is whole"

  rm -f "$out"/*
  for phase in "$TMPDIR" "$out"; do
    start "$dir"
    wait_focus "Reelcraft 1-05" > /dev/null
    keys alt+a
    kill_when_writing_in "$phase"
    expect_nothing_left "$out" "$dir/big.qvj" "batch window, $phase"
  done
  start "$dir"
  wait_focus "Reelcraft 1-05" > /dev/null
  keys alt+a
  for _ in $(seq 600); do
    [ -f "$out/big.avi" ] && break
    sleep 0.1
  done
  wait_focus "Reelcraft 1-05" > /dev/null
  keys alt+x
  wait_exit 0
  cmp -s "$out/big.avi" "$work/reference/big.avi" || fail "the batch window's AVI after kills"
  expect_eq "$(ls -A "$out")" big.avi "the output folder"
  [ -z "$(find "$TMPDIR" -mindepth 1 -type f)" ] || fail "temporary files left: $(ls "$TMPDIR")"
  rm -rf "$dir" "$out"/* "$work/reference" "$big_copy"
  pass "batch window: killed converting and copying, nothing left; the next run's AVI is whole"
}

run_mode() {
  mode=$1
  [ "$mode" != no-window-manager ] || killed_windows
  local dir=$HOME/$mode box
  mkdir -p "$dir"

  # 1. "open" on a whole clip: the AVI beside it, with its date, and the clip in the Trash.
  cp -p "$sample" "$dir/street.qvj"
  touch -d '2011-07-14 10:30' "$dir/street.qvj"
  start "$dir" "$dir/street.qvj"
  wait_focus reelcraft > /dev/null
  keys alt+y
  wait_exit 0
  expect_eq "$(frames_of "$dir/street.avi")" 60 "frames of the AVI beside the clip"
  [ ! -e "$dir/street.qvj" ] || fail "the clip is still in its place"
  [ -f "$trash/files/street.qvj" ] || fail "the clip is not in the Trash"
  grep -q "^Path=$dir/street.qvj$" "$trash/info/street.qvj.trashinfo" ||
    fail "the Trash does not know where the clip came from"
  expect_eq "$(stat -c %Y "$dir/street.avi")" "$(stat -c %Y "$trash/files/street.qvj")" \
    "the AVI's date"
  rm -rf "$trash"
  pass "open: the AVI beside the clip, the clip in the Trash"

  # 2. "open" on a clip that ends early at damage (a card recovery left zeros and another
  # file's bytes in it): kept, and said so; Yes to the offer recovers the pictures after it.
  cp "$sample" "$dir/damaged.qvj"
  dd if=/dev/zero of="$dir/damaged.qvj" bs=512 seek=200 count=4 conv=notrunc status=none
  printf '\377\330\377\330' | dd of="$dir/damaged.qvj" bs=1 seek=102500 conv=notrunc status=none
  start "$dir" "$dir/damaged.qvj"
  box=$(wait_focus reelcraft)
  keys alt+y
  box=$(wait_focus reelcraft "$box")
  screen_text | grep -q "Failed to find JPEG" || fail "no word of the missing picture"
  keys Return
  box=$(wait_focus reelcraft "$box")
  local found text salvaged
  found=$(frames_of "$dir/damaged.avi")
  [ "$found" -lt 60 ] || fail "the damaged clip gave $found frames"
  [ "$mode" = openbox ] && shot salvage-offer
  text=$(screen_text)
  [[ $text == *"damaged.qvj was kept: its AVI holds $found of the 60 pictures the clip names."* ]] ||
    fail "the message does not say that the clip was kept: $text"
  [[ $text == *"Look for the pictures after the damage"* ]] || fail "no offer to salvage: $text"
  keys alt+y
  wait_focus reelcraft "$box" > /dev/null
  salvaged=$(frames_of "$dir/damaged.avi")
  [ "$salvaged" -gt "$found" ] || fail "the salvage gave $salvaged frames, no more than $found"
  text=$(screen_text)
  [[ $text == *"its AVI holds $salvaged of the 60 pictures the clip names."* &&
    $text == *"over: 1."* ]] || fail "the salvage's result is not told: $text"
  keys Return
  wait_exit 0
  [ -f "$dir/damaged.qvj" ] || fail "the clip that ended early was removed"
  [ ! -e "$trash/files/damaged.qvj" ] || fail "the clip that ended early is in the Trash"
  pass "open: a clip that ends early is kept with $found pictures; the salvage brings $salvaged"

  # 3. Markup in a name is shown as written, not as a heading that rewrites the question.
  local text marked='<h2>Keep the original clip? (it will not be converted)<font color=#efefef>x.qvj'
  cp "$sample" "$dir/$marked"
  start "$dir" "$dir/$marked"
  wait_focus reelcraft > /dev/null
  shot markup-question
  text=$(screen_text)
  [[ $text == *"<font color=#efefef>x.qvj"* ]] || fail "the markup was not shown as written: $text"
  keys alt+n
  wait_focus "Reelcraft 1-05" > /dev/null # declined: on to the batch window
  keys alt+x
  wait_exit 0
  [ -f "$dir/$marked" ] || fail "the declined clip was touched"
  pass "a name with markup is asked about as written"

  # 4. Create All with Delete Original over two clips whose names share "2023".
  local dates=$dir/dates out=$HOME/Documents
  mkdir -p "$dates"
  rm -f "$out"/*
  cp "$sample" "$dates/2023.07.14_beach.qvj"
  cp "$clips/harbour_320x240_15fps_sound.qvj" "$dates/2023.07.15_park.qvj"
  start "$dates"
  wait_focus "Reelcraft 1-05" > /dev/null
  keys Tab Tab Tab Tab space # the Delete Original box
  keys alt+a
  for _ in $(seq 300); do
    [ -f "$trash/files/2023.07.15_park.qvj" ] && break
    sleep 0.1
  done
  wait_focus "Reelcraft 1-05" > /dev/null
  [ "$mode" = openbox ] && shot after-create-all
  keys alt+x
  wait_exit 0
  expect_eq "$(frames_of "$out/2023.avi")" 60 "the first clip's AVI"
  expect_eq "$(frames_of "$out/2023 (2).avi")" 30 "the second clip's AVI"
  cmp -s "$out/2023 (2).avi" "$dates/2023.07.15_park.avi" || fail "no AVI in the second clip's place"
  [ -f "$trash/files/2023.07.14_beach.qvj" ] || fail "the first clip is not in the Trash"
  [ -z "$(find "$TMPDIR" -name 'qvj*')" ] || fail "temporary files left: $(ls "$TMPDIR")"
  rm -rf "$trash"
  pass "two clips, one first-dot name: two AVIs, both clips in the Trash"
}

run_mode no-window-manager
start_openbox
run_mode openbox

echo "All steps passed in both modes; screenshots in $shots"
