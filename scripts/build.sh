#!/usr/bin/env bash
# Configures (once) and builds Quillon in build/; incremental on later runs. CMake options
# given as arguments (-DQUILLON_WERROR=ON, ...) are applied to build/ before it builds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
if [[ ! -f build/build.ninja || $# -gt 0 ]]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
fi
cmake --build build
