#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev qt6-svg-dev libcli11-dev nlohmann-json3-dev fonts-liberation xz-utils
          # the desktop program under a real X server (tests, scripts/screenshots.sh)
          qt6-qpa-plugins xvfb openbox xdotool x11-utils imagemagick
          # the schema check of the JSON outputs (tests/schema)
          python3 python3-jsonschema
          # the sharded batch recipes of docs/scaling.md (tests/cli)
          parallel
          # the sanitizer and fuzzing build (scripts/test-sanitized.sh)
          clang llvm libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  if ! "${sudo_cmd[@]}" apt-get install -y -q "${missing[@]}"; then
    "${sudo_cmd[@]}" apt-get update -q
    "${sudo_cmd[@]}" apt-get install -y -q "${missing[@]}"
  fi
fi
