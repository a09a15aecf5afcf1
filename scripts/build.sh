#!/usr/bin/env bash
# Builds Quillon in build/, incremental on later runs; builds the targets named as arguments
# (scripts/run.sh: quillon), or everything. Every command that goes through here builds with the
# same options, warnings as errors included, so that no command undoes another's configuration:
# build/ is configured only when it is new, was configured without warnings as errors, or is
# asked for the tests and does not have them yet.
#   --tests  also installs what the tests and benchmarks need and turns them on in build/
#            (scripts/test.sh). Without it, a new build/ is configured without them, so that the
#            program alone needs none of their packages; a build/ that has them keeps them.
# Turning the tests on only adds targets: what is already built stays built.
set -euo pipefail
cd "$(dirname "$0")/.."
tests=OFF
if [[ ${1:-} == --tests ]]; then
  tests=ON
  shift
fi
if [[ $tests == ON ]]; then scripts/deps.sh --tests; else scripts/deps.sh; fi

options=()
if [[ ! -f build/build.ninja ]]; then
  options=(-DQUILLON_WERROR=ON "-DQUILLON_BUILD_TESTS=$tests" "-DQUILLON_BUILD_BENCH=$tests")
else
  grep -qx 'QUILLON_WERROR:BOOL=ON' build/CMakeCache.txt || options+=(-DQUILLON_WERROR=ON)
  if [[ $tests == ON ]]; then
    for option in QUILLON_BUILD_TESTS QUILLON_BUILD_BENCH; do
      grep -qx "$option:BOOL=ON" build/CMakeCache.txt || options+=("-D$option=ON")
    done
  fi
fi
if [[ ${#options[@]} -gt 0 ]]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}"
fi
targets=()
[[ $# -eq 0 ]] || targets=(--target "$@")
cmake --build build "${targets[@]}"
