# SPDX-License-Identifier: MIT
# Sourced by the scripts that drive the built reelcraft on a virtual display: a temporary home
# with its XDG folders and temporary folder, a display of its own, openbox on request, and the
# wait for the program's end. Sets `work` (removed on exit) and `DISPLAY`; what it starts, and
# the program in `app_pid`, are ended on exit. The sourcing script defines `fail`.

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
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$work/display")

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
