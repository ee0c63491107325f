#!/usr/bin/env bash
# The whole test suite once more, built with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer, together with the libFuzzer targets, each of
# which ctest runs for a few seconds on its seed corpus. Any sanitizer
# finding fails its test, and so this script.
#
#   QUILMOR_SANITIZE_BUILD_DIR   build folder (default build-sanitize)
#   QUILMOR_FUZZ_SECONDS         length of each short fuzz run (default 5)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/ensure-deps.sh

export QT_QPA_PLATFORM=offscreen
build=${QUILMOR_SANITIZE_BUILD_DIR:-build-sanitize}
# The benchmarks are left out: they test speed, not memory.
cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUILMOR_SANITIZE=ON -DQUILMOR_FUZZ=ON -DQUILMOR_BUILD_BENCH=OFF \
  -DQUILMOR_FUZZ_SECONDS="${QUILMOR_FUZZ_SECONDS:-5}"
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
