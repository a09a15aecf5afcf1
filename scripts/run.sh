#!/usr/bin/env bash
# Installs what is missing, builds, and starts Quillon.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
exec build/app/quillon
