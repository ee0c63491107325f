# Sourced by the tests that need a real X server: starts Xvfb with a window
# manager (openbox) on a free display and stops both when the test ends.
#
#   start_x_session WIDTHxHEIGHT   exits 77 (skipped) when Xvfb cannot start
#   client_geometry WINDOW         sets X Y W H: the window's inside on the screen
#   wait_window TITLE-REGEX        prints the id of the visible window
set -euo pipefail

x_pids=()
stop_x_session() {
  local pid
  for pid in "${x_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${x_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap stop_x_session EXIT

start_x_session() {
  local size=$1 display
  if ! command -v Xvfb >/dev/null; then
    echo "SKIP: Xvfb is not installed"
    exit 77
  fi
  for tool in openbox xdotool xwininfo xprop; do
    command -v "$tool" >/dev/null || { echo "missing: $tool (scripts/ensure-deps.sh)"; exit 1; }
  done
  for display in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] && continue
    Xvfb ":$display" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
    x_pids+=($!)
    for _ in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$display" ] && break
      kill -0 "${x_pids[-1]}" 2>/dev/null || break
      sleep 0.1
    done
    if [ -e "/tmp/.X11-unix/X$display" ]; then
      export DISPLAY=":$display"
      break
    fi
  done
  if [ -z "${DISPLAY:-}" ] || [ ! -e "/tmp/.X11-unix/X${DISPLAY#:}" ]; then
    echo "SKIP: Xvfb could not start"
    exit 77
  fi
  # A home of its own: no settings of the user are read or written.
  export HOME
  HOME=$(mktemp -d)
  export XDG_CONFIG_HOME="$HOME/.config" XDG_RUNTIME_DIR="$HOME/run"
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  openbox >/dev/null 2>&1 &
  x_pids+=($!)
  for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.1
  done
  export QT_QPA_PLATFORM=xcb
}

client_geometry() {
  local info
  info=$(xwininfo -id "$1")
  X=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
  Y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
  W=$(awk '/Width:/ {print $2}' <<<"$info")
  H=$(awk '/Height:/ {print $2}' <<<"$info")
}

wait_window() {
  local id
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n 1 || true)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  echo "no window \"$1\"" >&2
  return 1
}

click() {
  xdotool mousemove "$1" "$2" click 1
}
