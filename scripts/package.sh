#!/usr/bin/env bash
# Builds the Debian package of Quillon into build-package/ (a build of its own, so the
# development build in build/ keeps its settings). Prints the package's path.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --package
[[ -f build-package/build.ninja ]] || cmake -S . -B build-package -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLON_BUILD_TESTS=OFF -DQUILLON_BUILD_BENCH=OFF
cmake --build build-package
(cd build-package && cpack -G DEB >/dev/null)
ls "$PWD"/build-package/quillon_*.deb
