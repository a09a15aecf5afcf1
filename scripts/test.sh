#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test; the windows are drawn offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)"
