#!/usr/bin/env bash
# Installs what is missing (the test tools too), builds with warnings as errors with the tests and
# benchmarks turned on, and runs every test; the windows are drawn offscreen.
#   --all  then also the checks of scripts/ci-extra.sh (code style, the other build types
#          with GCC and Clang, every test under the sanitizers, the fuzz targets), as CI does
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh --tests
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)"
if [[ ${1:-} == --all || ${CI:-} == true ]]; then
  scripts/ci-extra.sh
fi
