#!/usr/bin/env bash
# The main job on a bundled example: builds if needed, then fits the catalogue
# to the annual peak flows of the Wabash River and prints the result.
set -euo pipefail
cd "$(dirname "$0")"

build=${QUILMOR_BUILD_DIR:-build}
if [ ! -x "$build/cli/quilmor-cli" ]; then
  scripts/ensure-deps.sh
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target quilmor-cli >/dev/null
"$build/cli/quilmor-cli" fit data/examples/wabash_annual_peak_flow.txt "$@"
