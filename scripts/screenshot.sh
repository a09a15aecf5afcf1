#!/usr/bin/env bash
# Renders the main window under Xvfb into docs/main-window.png, the README's picture.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
xvfb-run -a -s "-screen 0 1024x768x24" build/app/quillon-screenshot docs/main-window.png
echo "wrote docs/main-window.png"
