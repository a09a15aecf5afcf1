#!/usr/bin/env bash
# The checks beyond the main build and its tests (scripts/test.sh): the code style, every build
# type with GCC and with Clang, the whole test suite again under AddressSanitizer and UBSan, and
# each fuzz target for a bounded time. CI runs it after scripts/test.sh; `scripts/test.sh --all`
# runs it too. Every build has a directory of its own (build-asan, build-clang-release, ...)
# and is incremental on later runs.
#
#   QUILLON_FUZZ_RUNS     how many inputs each fuzz target tries (default 300000); the same
#                         inputs every time (a fixed seed), so a CI run is repeatable
#   QUILLON_FUZZ_SECONDS  the most each fuzz target may take (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --tests --checks

fuzz_runs=${QUILLON_FUZZ_RUNS:-300000}
fuzz_seconds=${QUILLON_FUZZ_SECONDS:-60}
jobs=$(nproc)
summary=()

# Runs a named step and notes how long it took.
step() {
  local name=$1
  shift
  echo "=== ${name}"
  local start=$SECONDS
  "$@"
  summary+=("$(printf '%4ds  %s' $((SECONDS - start)) "${name}")")
}

# configure_and_build <dir> <compiler> <build type> [cmake options...]. The options are
# applied on every run (quick when nothing changed); a directory keeps the compiler it was
# first configured with.
configure_and_build() {
  local dir=$1 compiler=$2 type=$3
  shift 3
  CXX=${compiler} cmake -S . -B "${dir}" -G Ninja -DCMAKE_BUILD_TYPE="${type}" \
    -DQUILLON_WERROR=ON "$@" >/dev/null
  cmake --build "${dir}"
}

# The program and the core in the other build types; the main build (scripts/test.sh) is
# GCC RelWithDebInfo with every test.
build_types() {
  local name=$1 compiler=$2 type
  for type in Release Debug RelWithDebInfo; do
    [[ ${name} == gcc && ${type} == RelWithDebInfo ]] && continue
    local dir=build-${name}-${type,,}
    echo "--- ${compiler} ${type} in ${dir}"
    configure_and_build "${dir}" "${compiler}" "${type}" \
      -DQUILLON_BUILD_TESTS=OFF -DQUILLON_BUILD_BENCH=OFF
  done
}

# Every test with our code instrumented; the first report ends the run with an error. Nothing
# is suppressed: Qt's offscreen windows leave no leak that LeakSanitizer reports.
sanitized_tests() {
  configure_and_build build-asan g++ Debug -DQUILLON_SANITIZE=ON -DQUILLON_BUILD_BENCH=OFF
  ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    QT_QPA_PLATFORM=offscreen \
    ctest --test-dir build-asan --output-on-failure -j"${jobs}"
}

# Replays the seed corpora, then fuzzes each target; what it finds is kept in
# build-fuzz/fuzz/found/<target>, a failing input in build-fuzz/fuzz/<target>-crash-*.
fuzz() {
  configure_and_build build-fuzz clang++-14 RelWithDebInfo -DQUILLON_FUZZ=ON \
    -DQUILLON_BUILD_APP=OFF -DQUILLON_BUILD_TESTS=OFF -DQUILLON_BUILD_BENCH=OFF
  ctest --test-dir build-fuzz --output-on-failure
  local target
  while read -r target; do
    [[ -n ${target} ]] || continue
    local found=build-fuzz/fuzz/found/${target}
    mkdir -p "${found}"
    echo "--- fuzzing ${target}: ${fuzz_runs} inputs, at most ${fuzz_seconds}s"
    local log=build-fuzz/fuzz/${target}.log
    if ! "build-fuzz/fuzz/${target}_fuzz" -seed=1 -runs="${fuzz_runs}" \
      -max_total_time="${fuzz_seconds}" -print_final_stats=1 \
      -artifact_prefix="build-fuzz/fuzz/${target}-" "${found}" "fuzz/corpus/${target}" \
      >"${log}" 2>&1; then
      tail -n 40 "${log}"
      return 1
    fi
    local runs
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "${log}")
    summary+=("$(printf '        %s: %s executions, %s inputs kept' "${target}" "${runs}" \
      "$(find "${found}" -type f | wc -l)")")
  done <build-fuzz/fuzz/targets.txt
}

step "code style (clang-format)" scripts/format.sh --check
step "GCC: Release and Debug builds" build_types gcc g++
step "Clang: Release, Debug and RelWithDebInfo builds" build_types clang clang++-14
step "every test under AddressSanitizer and UBSan" sanitized_tests
step "fuzz targets, ${fuzz_runs} inputs each" fuzz

echo "=== done"
printf '%s\n' "${summary[@]}"
