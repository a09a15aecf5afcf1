#!/usr/bin/env bash
# Builds Quillon in build/, incremental on later runs; builds the targets named as arguments
# (scripts/run.sh: quillon), or everything. Every command that goes through here builds with the
# same options, warnings as errors included, so that no command undoes another's configuration:
# build/ is configured only when it is new or was configured without warnings as errors.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
if [[ ! -f build/build.ninja ]] || ! grep -qx 'QUILLON_WERROR:BOOL=ON' build/CMakeCache.txt; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLON_WERROR=ON
fi
targets=()
[[ $# -eq 0 ]] || targets=(--target "$@")
cmake --build build "${targets[@]}"
