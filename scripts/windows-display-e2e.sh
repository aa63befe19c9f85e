#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Drives reelcraft.exe of the Windows build under wine64 on a virtual display, from the keyboard,
# as a user would: the register prompt installs it for the user and writes the association into
# the registry (read back with wine's reg), the batch window's Create All converts three clips,
# the "open" verb's command puts a clip's AVI beside it and the clip into the Recycle Bin, and
# "/u" takes the association back. Screenshots go to WINDOWS_BUILD/e2e-shots.
#
#   scripts/windows-display-e2e.sh [LINUX_BUILD] [WINDOWS_BUILD]
#
# The Linux build makes the clips and converts them for comparison. Wine keeps the user's own
# classes out of its shell's view, so the verb's command is read from the registry and started
# as the shell starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
linux=$(cd "${1:-$root/build}" && pwd)
windows=$(cd "${2:-$root/build-win64}" && pwd)
shots=$windows/e2e-shots
rm -rf "$shots" && mkdir -p "$shots"
source "$root/scripts/e2e-session.sh"

export WINEPREFIX=$work/wine WINEDEBUG=-all
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
mkdir -p "$WINEPREFIX"
# One server for the whole run, stopped before the session's folder goes.
"$wineserver" -p
trap '"$wineserver" -k 2> /dev/null || true; e2e_cleanup' EXIT
"$wine" wineboot -i > /dev/null 2>&1
# Windows' own path of a file here.
winpath() { echo "Z:${1//\//\\}"; }
reg_value() { # key, value name (none for the default): its data, or nothing
  local which=(/ve)
  [ $# -lt 2 ] || which=(/v "$2")
  "$wine" reg query "$1" "${which[@]}" 2> /dev/null | tr -d '\r' |
    sed -n 's/^ *[^ ].*REG_[A-Z]* *//p' | head -n1
}
start_app() {
  "$wine" "$@" > "$work/app.log" 2>&1 &
  app_pid=$!
}
# Wine draws no frame without a window manager: the keyboard goes to the window found by title.
window() {
  local id
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2> /dev/null | tail -n1 || true)
    if [ -n "$id" ]; then
      sleep 0.5 # painted and ready for keys
      xdotool windowfocus "$id" 2> /dev/null || true
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  fail "no window titled '$1'"
}
caption="Reelcraft 1-05"
box=reelcraft # message boxes carry the program file's name

clips=$work/clips
mkdir -p "$clips"
"$linux/tests/make_sample_clips" "$clips" > /dev/null
program="$windows/gui/reelcraft.exe"

# 1. First start: the register prompt; Yes installs the program for the user alone.
start_app "$program"
window "$caption" > /dev/null
shot register-prompt
keys alt+y
window "$box" > /dev/null
shot installed
keys Return
wait_exit 0
user=$(id -un)
installed='C:\users\'"$user"'\AppData\Local\Programs\Reelcrafter\reelcraft.exe'
classes='HKCU\Software\Classes'
expect_eq "$(reg_value "$classes\\.qvj")" "QVJ.Reelcraft.1" ".qvj"
expect_eq "$(reg_value "$classes\\QVJ.Reelcraft.1\\shell\\open\\command")" \
  "\"$installed\" \"%1\"" "the open verb's command"
expect_eq "$(reg_value "$classes\\QVJ.Reelcraft.1\\shell\\createto\\command")" \
  "\"$installed\" \"%1\" /ct" "the createto verb's command"
expect_eq "$(reg_value 'HKCU\Software\Orlancor\Reelcrafter' NeverAskRegister)" 0x1 "NeverAskRegister"
installed_unix=$WINEPREFIX/drive_c/users/$user/AppData/Local/Programs/Reelcrafter/reelcraft.exe
cmp -s "$program" "$installed_unix" || fail "the installed program is not the one that ran"
pass "the register prompt installs the program and writes the association"

# 2. The batch window: Create All converts the folder's three clips into the documents folder.
start_app "$installed_unix"
window "$caption" > /dev/null
keys ctrl+a
xdotool type --delay 10 "$(winpath "$clips")"
keys Tab
sleep 1
shot batch-listed
keys alt+a
documents=$(readlink -f "$WINEPREFIX/drive_c/users/$user/Documents")
for _ in $(seq 300); do
  [ "$(find "$documents" -maxdepth 1 -name '*.avi' | wc -l)" = 3 ] && break
  sleep 0.1
done
sleep 1
shot batch-converted
keys alt+x
wait_exit 0
for clip in "$clips"/*.qvj; do
  name=$(basename "$clip")
  avi=$documents/${name%%.*}.avi
  [ -f "$avi" ] || fail "Create All wrote no $avi"
  "$linux/cli/qvj2avi" -q -o "$work/linux.avi" "$clip"
  cmp -s "$avi" "$work/linux.avi" || fail "$avi differs from the Linux build's AVI"
  rm "$work/linux.avi"
done
pass "Create All converts three clips into the documents folder, as the Linux build does"

# 3. The "open" verb's command on a clip: the AVI beside it, the clip in the Recycle Bin.
mkdir "$work/card"
cp "$clips/street_320x240_15fps.qvj" "$work/card/"
command=$(reg_value "$classes\\QVJ.Reelcraft.1\\shell\\open\\command")
verb_program=$(echo "$command" | sed 's/^"\([^"]*\)".*/\1/')
start_app "$verb_program" "$(winpath "$work/card/street_320x240_15fps.qvj")"
window "$box" > /dev/null
shot open-question
keys Return
# No program plays AVI files in the prefix: the last box says so.
for _ in $(seq 300); do
  [ -f "$work/card/street_320x240_15fps.avi" ] && [ ! -e "$work/card/street_320x240_15fps.qvj" ] &&
    break
  sleep 0.1
done
window "$box" > /dev/null
shot open-done
keys Return
wait_exit 0
[ -f "$work/card/street_320x240_15fps.avi" ] || fail "open wrote no AVI beside the clip"
[ ! -e "$work/card/street_320x240_15fps.qvj" ] || fail "open kept the clip"
[ -f "$XDG_DATA_HOME/Trash/files/street_320x240_15fps.qvj" ] || fail "the clip is not in the Trash"
cmp -s "$XDG_DATA_HOME/Trash/files/street_320x240_15fps.qvj" "$clips/street_320x240_15fps.qvj" ||
  fail "the clip in the Trash is not the clip"
pass "open puts the AVI beside the clip and the clip into the Recycle Bin"

# 4. "/u" takes the association back.
start_app "$installed_unix" /u
window "$box" > /dev/null
shot remove-question
keys alt+y
window "$box" > /dev/null
shot removed
keys Return
wait_exit 0
[ -z "$(reg_value "$classes\\.qvj")" ] || fail "/u left .qvj"
[ -z "$(reg_value "$classes\\QVJ.Reelcraft.1")" ] || fail "/u left the file type"
expect_eq "$(reg_value 'HKCU\Software\Orlancor\Reelcrafter' NeverAskRegister)" 0x0 "NeverAskRegister"
pass "/u removes the association"
