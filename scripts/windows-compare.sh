#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs qvj2avi.exe of the Windows build under wine64 and qvj2avi of the Linux build on the same
# clips, the same command lines, from folders laid out alike, and checks that both write the
# same AVI files byte for byte, print the same messages and exit with the same codes. The clips:
# the bundled samples, a name in several scripts, a path past 260 characters, a clip past the 1 GiB of a first RIFF part (OpenDML), clips that end
# early, damaged clips salvaged, a clip without its header, a folder walked with -r, refusals.
#
#   scripts/windows-compare.sh [LINUX_BUILD] [WINDOWS_BUILD]
#
# Needs wine64 (scripts/install-deps.sh) and both builds (README: "Windows").
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
linux=$(cd "${1:-$root/build}" && pwd)
windows=$(cd "${2:-$root/build-win64}" && pwd)
wine="$root/scripts/wine-run.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

corpus=$work/corpus
mkdir -p "$corpus/card/DCIM/100" "$corpus/card/.Trash-1000"
"$linux/tests/make_sample_clips" "$corpus" >/dev/null
"$linux/bench/make_bench_clips" clip "$corpus/long_sound.qvj" 1100 --sound >/dev/null
cd "$corpus"
sound=harbour_320x240_15fps_sound.qvj
plain=street_320x240_15fps.qvj
size() { stat -c %s "$1"; }
# Ends early: inside a picture, and inside the sound.
head -c $(($(size $plain) * 3 / 5)) $plain >early_plain.qvj
head -c $(($(size $sound) / 2 + 300)) $sound >early_sound.qvj
# Damage in the middle, passed over by a salvage.
cp $plain damaged.qvj
dd if=/dev/zero of=damaged.qvj bs=1 seek=$(($(size $plain) / 2)) count=3000 conv=notrunc 2>/dev/null
# The header lost.
cp $sound headerless.qvj
dd if=/dev/zero of=headerless.qvj bs=1 count=35 conv=notrunc 2>/dev/null
printf 'not a clip at all' >text.qvj
cp $plain card/DCIM/100/A.QVJ
cp $sound card/DCIM/100/b.qvj
cp $plain card/.Trash-1000/deleted.qvj
# A name outside every 8-bit code page, and a path past Windows' 260 characters.
cp $plain café_ünï_日本.qvj
deep=deep
for i in $(seq 1 25); do deep=$deep/folder_number_$i; done
mkdir -p $deep && cp $sound $deep/clip.qvj
cd - >/dev/null

# One command line a line, run in a fresh copy of the corpus by each build; -j1 so that the
# messages come in one order. A line that begins with "+" runs where an AVI of the street clip's
# name is there already.
cat >"$work/runs" <<'RUNS'
-j1 garden_640x480_12.5fps.qvj harbour_320x240_15fps_sound.qvj street_320x240_15fps.qvj
-j1 long_sound.qvj
-j1 early_plain.qvj early_sound.qvj
-j1 damaged.qvj
-j1 -s damaged.qvj
-j1 -s headerless.qvj
-j1 -s --like harbour_320x240_15fps_sound.qvj -o like.avi headerless.qvj
-j1 text.qvj missing.qvj
-j1 -r card -o out
-j1 card
-j1 café_ünï_日本.qvj
-j1 -r deep
--info street_320x240_15fps.qvj harbour_320x240_15fps_sound.qvj headerless.qvj
--info --json early_sound.qvj
--scan damaged.qvj
+ -j1 -o street_320x240_15fps.avi -f harbour_320x240_15fps_sound.qvj
+ -j1 street_320x240_15fps.qvj
RUNS

failures=0
run=0
"$wine" wineboot -i >/dev/null 2>&1 || true
while read -r line; do
  run=$((run + 1))
  read -ra args <<<"$line"
  existing=false
  [ "${args[0]}" = + ] && existing=true && args=("${args[@]:1}")
  for side in linux windows; do
    rm -rf "$work/$side" && cp -r "$corpus" "$work/$side"
    mkdir -p "$work/$side/out"
    $existing && cp "$corpus/$plain" "$work/$side/street_320x240_15fps.avi"
    (
      cd "$work/$side"
      if [ $side = linux ]; then
        "$linux/cli/qvj2avi" "${args[@]}" >"$work/$side.out" 2>"$work/$side.err"
      else
        "$wine" "$windows/cli/qvj2avi.exe" "${args[@]}" >"$work/$side.out" 2>"$work/$side.err"
      fi
      echo $? >"$work/$side.status"
    ) || true
    (cd "$work/$side" && find . -type f -newer "$corpus/card" | sort) >"$work/$side.list"
  done
  problem=""
  cmp -s "$work/linux.status" "$work/windows.status" ||
    problem+=" exit code $(cat "$work/linux.status") vs $(cat "$work/windows.status");"
  cmp -s "$work/linux.out" "$work/windows.out" || problem+=" standard output differs;"
  cmp -s "$work/linux.err" "$work/windows.err" || problem+=" messages differ;"
  cmp -s "$work/linux.list" "$work/windows.list" || problem+=" files written differ;"
  while read -r file; do
    cmp -s "$work/linux/$file" "$work/windows/$file" || problem+=" $file differs;"
  done <"$work/linux.list"
  avis=$(grep -c '\.avi$' "$work/linux.list" || true)
  # The long clip's AVI goes on past its first RIFF part, as OpenDML does.
  if [ -f "$work/windows/long_sound.avi" ] && ! python3 - "$work/windows/long_sound.avi" <<'PY'; then
import struct, sys
with open(sys.argv[1], "rb") as f:
    f.seek(4)
    (size,) = struct.unpack("<I", f.read(4))
    f.seek(8 + size)
    sys.exit(0 if f.read(12)[8:] == b"AVIX" else 1)
PY
    problem+=" long_sound.avi has no second RIFF part;"
  fi
  if [ -n "$problem" ]; then
    failures=$((failures + 1))
    echo "FAIL $run: qvj2avi $line:$problem"
    diff "$work/linux.err" "$work/windows.err" | head -20 || true
    diff "$work/linux.out" "$work/windows.out" | head -20 || true
    diff "$work/linux.list" "$work/windows.list" || true
  else
    echo "ok   $run: qvj2avi $line (exit $(cat "$work/linux.status"), $avis AVI files alike)"
    sed 's/^/       /' "$work/linux.err" | head -4
  fi
done <"$work/runs"

# Killed in the middle of the long clip, qvj2avi.exe leaves nothing: neither beside the output
# nor in the temporary folder.
rm -rf "$work/killed" && mkdir "$work/killed" && cp "$corpus/long_sound.qvj" "$work/killed/"
temp=$("$wine" cmd /c echo %TEMP% | tr -d '\r')
temp_unix=$("$wine" winepath -u "$temp" 2>/dev/null | tr -d '\r')
ours() { ls -A "$temp_unix" 2>/dev/null | grep -i '\.tmp$' | sort || true; }
before=$(ours)
(cd "$work/killed" && exec "$wine" "$windows/cli/qvj2avi.exe" -q long_sound.qvj) 2>/dev/null &
for _ in $(seq 1 200); do
  [ -n "$(ls -A "$work/killed" | grep -v '^long_sound.qvj$')" ] && break
  sleep 0.05
done
started=$(ls -A "$work/killed" | grep -v '^long_sound.qvj$' || true)
pkill -9 -f 'qvj2avi.exe' || true
wait 2>/dev/null || true
sleep 1
left=$(ls -A "$work/killed" | grep -v '^long_sound.qvj$' || true)
after=$(ours)
run=$((run + 1))
if [ -z "$started" ] || [ -n "$left" ] || [ "$before" != "$after" ]; then
  failures=$((failures + 1))
  echo "FAIL $run: killed mid-conversion: written ${started:-nothing}; left ${left:-nothing}"
else
  echo "ok   $run: killed while writing $started, it left nothing"
fi
[ $failures -eq 0 ] && echo "All $run runs alike" || echo "$failures of $run runs differ"
exit $((failures > 0))
