#!/usr/bin/env bash
# Renders the results report's pictures under Xvfb into docs/, at the normal scale
# (docs/picture-*.png) and at twice the scale (docs/picture-*@2x.png).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --xvfb
scripts/build.sh quillon-plot-pictures
xvfb-run -a -s "-screen 0 1024x768x24" build/tools/quillon-plot-pictures docs
QT_SCALE_FACTOR=2 xvfb-run -a -s "-screen 0 2048x1536x24" build/tools/quillon-plot-pictures docs
