#!/usr/bin/env bash
# The program ends every time it is closed, by real mouse clicks under a real
# X server with a window manager: the window's close button, File > Program
# Exit, then "Finish" or the close button of the finish window. Ten times in
# a row; each time the process must be gone within a second of the last
# click, with exit status 0.
#
#   closing_test.sh PROGRAM
set -euo pipefail
program=$1
source "$(dirname "$0")/x11_session.sh"
start_x_session 1280x1024
export QT_SCALE_FACTOR=1

# The title bar's close button lies at the right end of the title bar.
close_button() {
  client_geometry "$1"
  click $((X + W - 10)) $((Y - 10))
}

for round in $(seq 1 10); do
  "$program" >"$HOME/quilmor.log" 2>&1 &
  pid=$!
  main=$(wait_window "^Quilmor cumulative frequency analysis$")
  sleep 0.3
  case $((round % 3)) in
    0 | 2) close_button "$main" ;;
    1)
      client_geometry "$main"
      click $((X + 15)) $((Y + 10))  # File
      sleep 0.3
      click $((X + 70)) $((Y + 144))  # Program Exit
      ;;
  esac
  finish=$(wait_window "^Quilmor finish$")
  sleep 0.3
  if ((round % 3 == 2)); then
    close_button "$finish"
  else
    client_geometry "$finish"
    click $((X + W / 2)) $((Y + 185))  # Finish
  fi
  ended=""
  for _ in $(seq 20); do
    if ! kill -0 "$pid" 2>/dev/null; then
      ended=yes
      break
    fi
    sleep 0.05
  done
  if [ -z "$ended" ]; then
    echo "round $round: the program did not end within a second"
    import -window root "$HOME/round$round.png" 2>/dev/null || true
    kill "$pid"
    exit 1
  fi
  status=0
  wait "$pid" || status=$?
  if ((status != 0)); then
    echo "round $round: exit status $status"
    cat "$HOME/quilmor.log"
    exit 1
  fi
  echo "round $round: ended"
done
echo "closing: every round ended"
