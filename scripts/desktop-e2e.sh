#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Drives the built reelcraft on a virtual display the way a person would, in a temporary home:
# registers it through the prompt, checks the desktop entries and the stored keys, starts it
# again with no question, converts a clip through the "Create AVI" entry into a folder chosen
# in the picker, and removes the registration with "/u". A screenshot is taken at each step.
#
#   scripts/desktop-e2e.sh [BUILD_FOLDER] [SCREENSHOT_FOLDER]
#
# Needs Xvfb, openbox, xdotool, xprop, imagemagick, sqlite3, ffprobe, xdg-utils
# (scripts/install-deps.sh).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
shots=${2:-$build/e2e-shots}
program=$build/gui/reelcraft
mkdir -p "$shots"
rm -f "$shots"/*.png

source "$root/scripts/e2e-session.sh"
store=$XDG_CONFIG_HOME/reelcraft/registry.sqlite
installed=$XDG_DATA_HOME/Reelcrafter/reelcraft
applications=$XDG_DATA_HOME/applications


# --- a window manager (title bars show the captions), and a stand-in player
start_openbox
use_stand_in_player

# --- helpers (and those of e2e-session.sh)

start() {
  "$program" "$@" >> "$work/reelcraft.log" 2>&1 &
  app_pid=$!
}

# The id of a key of the store, by its root and '\'-separated path; empty when missing.
key_id() {
  local id
  id=$(sqlite3 "$store" "SELECT id FROM keys WHERE parent IS NULL AND name='$1'")
  local IFS='\'
  for part in $2; do
    [ -n "$id" ] || break
    id=$(sqlite3 "$store" "SELECT id FROM keys WHERE parent=$id AND name='$part'")
  done
  echo "$id"
}
# A value as text: strings without their zero, numbers in decimal.
value_of() {
  local id type hex
  id=$(key_id "$1" "$2")
  [ -n "$id" ] || return 0
  IFS='|' read -r type hex < <(sqlite3 "$store" \
    "SELECT type, hex(data) FROM \"values\" WHERE key=$id AND name='$3'") || return 0
  case $type in
  4) echo $((16#${hex:6:2}${hex:4:2}${hex:2:2}${hex:0:2})) ;;
  1) sqlite3 "$store" "SELECT rtrim(CAST(data AS TEXT), char(0)) FROM \"values\"
       WHERE key=$id AND name='$3'" ;;
  esac
}

settings='SOFTWARE\Orlancor\Reelcrafter'

# --- 1. First start: the register prompt, Yes, the installation
start
wait_active "Reelcraft 1-05" > /dev/null
shot register-prompt
keys alt+y
wait_active reelcraft > /dev/null
shot installation-completed
keys Return
wait_exit 0
pass "registered through the prompt"

cmp -s "$program" "$installed" || fail "the installed program is not a copy of the built one"
expect_eq "$(value_of HKEY_CURRENT_USER "$settings" Version)" 261 "Version"
expect_eq "$(value_of HKEY_CURRENT_USER "$settings" NeverAskRegister)" 1 "NeverAskRegister"
expect_eq "$(value_of HKEY_CLASSES_ROOT .qvj '')" QVJ.Reelcraft.1 ".qvj"
expect_eq "$(value_of HKEY_CLASSES_ROOT 'QVJ.Reelcraft.1\shell\createto\command' '')" \
  "\"$installed\" \"%1\" /ct" "createto command"
expect_eq "$(value_of HKEY_CLASSES_ROOT 'QVJ.Reelcraft.1\shell\create\command' '')" \
  "\"$installed\" \"%1\" /c" "create command"
expect_eq "$(value_of HKEY_CLASSES_ROOT 'QVJ.Reelcraft.1\shell\open\command' '')" \
  "\"$installed\" \"%1\"" "open command"
entries=("$applications"/reelcraft-qvj-*.desktop)
expect_eq "${#entries[@]}" 3 "desktop entries of the verbs"
for entry in "${entries[@]}"; do
  desktop-file-validate "$entry" || fail "$entry does not validate"
done
createto=$applications/reelcraft-qvj-createto.desktop
grep -qx "Name=Create AVI" "$createto" || fail "the createto entry is not named Create AVI"
grep -qx "MimeType=video/x-qvj;" "$createto" || fail "the createto entry lacks the clip type"
expect_eq "$(xdg-mime query default video/x-qvj)" reelcraft-qvj-open.desktop "default for clips"
pass "installed file, keys and desktop entries"

# --- 2. Second start: straight to the batch window
start
wait_active "Reelcraft 1-05" > /dev/null
shot batch-window
keys alt+x
wait_exit 0
pass "second start opened the batch window without a question"

# --- 3. A clip opened with "Create AVI", as the file manager would start it
clips=$HOME/clips
mkdir -p "$clips"
"$build/tests/make_sample_clips" "$clips" > /dev/null
clip=$clips/street_320x240_15fps.qvj
expect_eq "$(xdg-mime query filetype "$clip")" video/x-qvj "the clip's type"
exec_line=$(sed -n 's/^Exec=//p' "$createto")
read -r -a argv <<< "$exec_line"
for i in "${!argv[@]}"; do [ "${argv[i]}" = %f ] && argv[i]=$clip; done
expect_eq "${argv[*]}" "$installed $clip /ct" "the command line of Create AVI"

chosen=$HOME/Videos/converted
start_installed() {
  "${argv[0]}" "${argv[@]:1}" >> "$work/reelcraft.log" 2>&1 &
  app_pid=$!
}
start_installed
wait_active reelcraft > /dev/null
shot create-question
keys alt+y
wait_active "Reelcraft 1-05" 2 > /dev/null
sleep 1 # the folder tree fills in the background
shot folder-picker
keys shift+Tab ctrl+a # from the tree into the typed-path box
xdotool type --delay 20 "$chosen"
shot folder-typed
keys Return
wait_active reelcraft > /dev/null
shot create-folder-question
keys alt+y
wait_exit 0
avi=$chosen/street_320x240_15fps.avi
[ -f "$avi" ] || fail "no AVI in the chosen folder"
frames=$(ffprobe -v error -count_frames -select_streams v:0 \
  -show_entries stream=codec_name,nb_read_frames -of csv=p=0 "$avi")
expect_eq "$frames" "mjpeg,60" "the AVI's video stream"
[ -f "$clip" ] || fail "Create AVI removed the clip"
for _ in $(seq 100); do [ -s "$work/played" ] && break; sleep 0.1; done # started detached
expect_eq "$(cat "$work/played" 2> /dev/null)" "$avi" "the file the player was started on"
leftovers=$(find "$TMPDIR" -name 'qvj*' | wc -l)
expect_eq "$leftovers" 0 "temporary files left behind"
pass "clip converted into the chosen folder and played"

# --- 4. Removal with "/u"
start /u
wait_active reelcraft > /dev/null
shot remove-question
keys alt+y
wait_active reelcraft > /dev/null
shot removal-succeeded
keys Return
wait_exit 0
for key in .qvj QVJ.Reelcraft.1; do
  [ -z "$(key_id HKEY_CLASSES_ROOT "$key")" ] || fail "$key is still registered"
done
entries=$(find "$applications" -name 'reelcraft-qvj-*' | wc -l)
expect_eq "$entries" 0 "desktop entries left after removal"
[ ! -e "$XDG_DATA_HOME/mime/packages/reelcraft-qvj.xml" ] || fail "the clip type is still known"
expect_eq "$(value_of HKEY_CURRENT_USER "$settings" NeverAskRegister)" 0 "NeverAskRegister"
expect_eq "$(value_of HKEY_CURRENT_USER "$settings" Version)" 261 "Version after removal"
[ -f "$installed" ] || fail "removal took the installed program"
pass "registration removed; the installed program stays"

echo "All steps passed; screenshots in $shots"
