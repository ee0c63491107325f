#!/usr/bin/env bash
# The window test under a real X server (1280 x 1024) with a window manager,
# at 100 %, 150 % and 200 % scaling.
#
#   window_test.sh TEST-PROGRAM
set -euo pipefail
program=$1
source "$(dirname "$0")/x11_session.sh"
start_x_session 1280x1024
for scale in 1 1.5 2; do
  echo "== QT_SCALE_FACTOR=$scale"
  QT_SCALE_FACTOR=$scale "$program"
done
