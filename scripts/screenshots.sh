#!/usr/bin/env bash
# Pictures of the desktop program as a user sees it, for the README: under a
# real X server (Xvfb, 1280 x 1024) with a window manager (openbox), an
# example is opened and run, and every page, the calculator and the closing
# window are saved as PNG files in docs/images, at 100 % and 150 % scaling.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/ensure-deps.sh
build=${QUILMOR_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target quilmor_screen_tour
tour=$(pwd)/$build/tests/ui/quilmor_screen_tour

source tests/ui/x11/x11_session.sh
start_x_session 1280x1024
mkdir -p docs/images
QT_SCALE_FACTOR=1 "$tour" docs/images ""
QT_SCALE_FACTOR=1.5 "$tour" docs/images _150
