# SPDX-License-Identifier: MIT
# Sourced by the scripts that drive the built reelcraft on a virtual display: a temporary home
# with its XDG folders and temporary folder, a display of its own, openbox on request, and the
# wait for the program's end. Sets `work` (removed on exit) and `DISPLAY`; what it starts, and
# the program in `app_pid`, are ended on exit. Reports come as numbered steps, screenshots in
# `shots`; a script that runs in modes defines its own `fail`, `pass` and `shot` after sourcing.

step=0
fail() {
  echo "FAILED: $*" >&2
  import -window root "$shots/failure.png" 2> /dev/null || true
  exit 1
}
pass() { echo "ok: $*"; }
shot() {
  step=$((step + 1))
  sleep 0.3 # let the window finish painting
  import -window root "$(printf '%s/%02d-%s.png' "$shots" "$step" "$1")"
}
expect_eq() { [ "$1" = "$2" ] || fail "$3: '$1', expected '$2'"; }

work=$(mktemp -d)
pids=()
app_pid=
e2e_cleanup() {
  [ -z "$app_pid" ] || kill "$app_pid" 2> /dev/null || true
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2> /dev/null || true; done
  rm -rf "$work"
}
trap e2e_cleanup EXIT

export HOME=$work/home
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
export XDG_RUNTIME_DIR=$work/runtime TMPDIR=$work/tmp
unset REELCRAFT_REGISTRY XDG_CURRENT_DESKTOP DESKTOP_SESSION WAYLAND_DISPLAY QT_QPA_PLATFORM
mkdir -p "$HOME/Documents" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME/applications" "$TMPDIR"
mkdir -m 700 "$XDG_RUNTIME_DIR"
cd "$HOME"

exec 3> "$work/display"
# -noreset: without a window manager the display often has no client between two starts of the
# program, and a server that resets then refuses the next one while it does.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset > "$work/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$work/display")

# Makes a stand-in the desktop's player for AVI files, so that no real one opens: it notes each
# file it is started on in $work/played.
use_stand_in_player() {
  local player=$work/player.sh
  printf '#!/bin/sh\necho "$1" >> %s/played\n' "$work" > "$player"
  chmod +x "$player"
  printf '[Desktop Entry]\nType=Application\nName=Player\nExec=%s %%f\nMimeType=video/x-msvideo;\nNoDisplay=true\n' \
    "$player" > "$XDG_DATA_HOME/applications/e2e-player.desktop"
  xdg-mime default e2e-player.desktop video/x-msvideo
}

# Starts openbox (its id in wm_pid) and waits until it manages the display.
start_openbox() {
  openbox > "$work/openbox.log" 2>&1 &
  wm_pid=$!
  pids+=("$wm_pid")
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q 'window id' && return 0
    sleep 0.1
  done
  fail "openbox did not start: $(cat "$work/openbox.log")"
}

# Waits for the program started as app_pid to end with the status $1.
wait_exit() {
  local status=0
  for _ in $(seq 300); do
    kill -0 "$app_pid" 2> /dev/null || break
    sleep 0.1
  done
  kill -0 "$app_pid" 2> /dev/null && fail "reelcraft did not end"
  wait "$app_pid" || status=$?
  app_pid=
  [ "$status" = "$1" ] || fail "reelcraft ended with $status, not $1"
}

# --- keyboard and windows, for the sourcing script
keys() { xdotool key --clearmodifiers "$@"; }
# The window that has the keyboard (the X input focus, with or without a window manager).
focused() { xdotool getwindowfocus 2> /dev/null || true; }
title_of() { xdotool getwindowname "$1" 2> /dev/null || true; }
# Waits until the keyboard is with a window titled $1 other than window $2; prints its id.
wait_focus() {
  local title=$1 other=${2:-} id
  for _ in $(seq 300); do
    id=$(focused)
    if [ -n "$id" ] && [ "$id" != "$other" ] && [ "$(title_of "$id")" = "$title" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  fail "the keyboard did not come to a window titled '$title' (it is with '$(title_of "$(focused)")')"
}
# Waits for the active window (a window manager's notion) to be titled exactly $1, with at least
# $2 (default 1) visible windows of that title (a dialog over a window of the same caption);
# prints its id.
wait_active() {
  local title=$1 count=${2:-1} id name shown
  for _ in $(seq 600); do
    id=$(xdotool getactivewindow 2> /dev/null || true)
    name=$([ -n "$id" ] && xdotool getwindowname "$id" 2> /dev/null || true)
    shown=$({ xdotool search --onlyvisible --name "^$title\$" 2> /dev/null || true; } | wc -l)
    if [ "$name" = "$title" ] && [ "$shown" -ge "$count" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  fail "no window titled '$title' came to the front"
}
