#!/usr/bin/env bash
# A longer fuzzing campaign than the few seconds of each target under ctest.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
#
# SECONDS per target (default 600); TARGETs among the *_fuzz programs of
# tests/fuzz (default: all of them, one after the other). Builds the sanitizer
# and fuzzing build first (QUILMOR_SANITIZE_BUILD_DIR, default
# build-sanitize). New inputs go to the build folder's corpus; an input that
# makes a target fail goes to its findings folder and the campaign goes on.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-600}
shift || true
build=${QUILMOR_SANITIZE_BUILD_DIR:-build-sanitize}
targets=("$@")
if ((${#targets[@]} == 0)); then
  targets=(number_parse_fuzz input_file_fuzz load_report_fuzz graph_data_fuzz
           parameter_file_fuzz value_file_fuzz paste_fuzz analysis_fuzz)
fi

scripts/ensure-deps.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUILMOR_SANITIZE=ON -DQUILMOR_FUZZ=ON -DQUILMOR_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target "${targets[@]}"

export QT_QPA_PLATFORM=offscreen
fuzz="$build/tests/fuzz"
status=0
for target in "${targets[@]}"; do
  mkdir -p "$fuzz/corpus/$target" "$fuzz/findings"
  stamp=$(mktemp)
  echo "== $target: $seconds s"
  "$fuzz/$target" -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
    -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=60 \
    -artifact_prefix="$fuzz/findings/$target-" \
    "$fuzz/corpus/$target" "tests/fuzz/corpus/$target" 2>&1 | tail -n 3
  found=$(find "$fuzz/findings" -name "$target-*" -newer "$stamp" | wc -l)
  rm -f "$stamp"
  if ((found > 0)); then
    echo "   new findings in $fuzz/findings: $found"
    status=1
  fi
done
exit $status
