#!/usr/bin/env bash
# Installs what the program needs and is missing (no test tools), builds the program alone (no
# tests, no benchmarks), and starts Quillon.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh quillon
exec build/app/quillon
