#!/usr/bin/env bash
# Configures (once) and builds Quillon in build/; incremental on later runs.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
[[ -f build/build.ninja ]] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
