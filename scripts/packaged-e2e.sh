#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Drives reelcraft as a package installs it, on a virtual display in a fresh home: installed
# with DESTDIR as a package is made, its data folder among the system's (XDG_DATA_DIRS), the MIME
# and desktop databases updated as a package's triggers do. Makes it the default through the
# prompt, which goes on to the batch window, and checks that the home folder then holds nothing
# but the default for clips and the settings; opens a clip through the entry's own command line;
# removes the registration with "/u".
#
#   scripts/packaged-e2e.sh [BUILD_FOLDER] [SCREENSHOT_FOLDER]
#
# Needs Xvfb, openbox, xdotool, xprop, imagemagick, xdg-utils, desktop-file-utils,
# shared-mime-info (scripts/install-deps.sh).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
shots=${2:-$build/e2e-shots/packaged}
mkdir -p "$shots"
rm -f "$shots"/*.png

source "$root/scripts/e2e-session.sh"


# --- the package, installed and made known as its triggers would
DESTDIR=$work/package cmake --install "$build" --prefix /usr > /dev/null
usr=$work/package/usr
update-mime-database "$usr/share/mime" > /dev/null 2>&1 || fail "update-mime-database"
update-desktop-database "$usr/share/applications" || fail "update-desktop-database"
export XDG_DATA_DIRS=$usr/share:/usr/local/share:/usr/share
export PATH=$usr/bin:$PATH
entry=$usr/share/applications/org.orlancor.Reelcraft.desktop

start_openbox
# What is already in the home folder (the session's own folders, the window manager's files) is
# not the program's.
home_files() { (cd "$HOME" && find . -type f | sort); }
before=$(home_files)
written_since() { comm -13 <(echo "$before") <(home_files); }

start() {
  "$@" >> "$work/reelcraft.log" 2>&1 &
  app_pid=$!
}

# --- 1. First start from the package: the prompt asks to make it the default, Yes; nothing is
# copied, and the batch window the user started it for follows
start reelcraft
prompt=$(wait_active "Reelcraft 1-05")
shot register-prompt
keys alt+y
wait_focus "Reelcraft 1-05" "$prompt" > /dev/null
shot batch-window-after-registering
keys alt+x
wait_exit 0
expect_eq "$(written_since | tr '\n' ' ')" "./.config/mimeapps.list ./.config/reelcraft/registry.sqlite " \
  "files written into the home folder"
expect_eq "$(xdg-mime query default video/x-qvj)" org.orlancor.Reelcraft.desktop "default for clips"
pass "registered: the default for clips and the settings, nothing else"

# --- 2. A clip opened with the entry's command line, as the file manager starts it; No to the
# question leads to the batch window, with no question about registering
clips=$work/clips
mkdir -p "$clips"
"$build/tests/make_sample_clips" "$clips" > /dev/null
clip=$clips/street_320x240_15fps.qvj
expect_eq "$(xdg-mime query filetype "$clip")" video/x-qvj "the clip's type from the package"
read -r -a argv <<< "$(sed -n '/^\[Desktop Entry\]/,/^\[/s/^Exec=//p' "$entry")"
for i in "${!argv[@]}"; do [ "${argv[i]}" = %f ] && argv[i]=$clip; done
expect_eq "${argv[*]}" "reelcraft $clip" "the entry's command line"
start "${argv[@]}"
wait_active reelcraft > /dev/null
shot open-question
keys alt+n
wait_active "Reelcraft 1-05" > /dev/null
shot batch-window
keys alt+x
wait_exit 0
pass "the entry opens a clip; the batch window follows without a question"

# --- 3. Removal takes back the default and leaves the settings
start reelcraft /u
wait_active reelcraft > /dev/null
shot remove-question
keys alt+y
wait_active reelcraft > /dev/null
shot removal-succeeded
keys Return
wait_exit 0
expect_eq "$(written_since | tr '\n' ' ')" "./.config/reelcraft/registry.sqlite " \
  "files left in the home folder after removal"
pass "removal took back the default for clips"

echo "All steps passed; screenshots in $shots"
