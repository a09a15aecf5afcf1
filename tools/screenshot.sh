#!/usr/bin/env bash
# Renders the main window under Xvfb into the README's pictures: docs/main-window.png at the
# normal scale and docs/main-window@2x.png at twice the scale, as on a high-resolution screen; the
# sample-size window likewise into docs/sample-size.png and docs/sample-size@2x.png.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --xvfb
scripts/build.sh quillon-screenshot
xvfb-run -a -s "-screen 0 1024x768x24" build/tools/quillon-screenshot docs/main-window.png
echo "wrote docs/main-window.png"
QT_SCALE_FACTOR=2 xvfb-run -a -s "-screen 0 2048x1536x24" \
  build/tools/quillon-screenshot docs/main-window@2x.png
echo "wrote docs/main-window@2x.png"
xvfb-run -a -s "-screen 0 1280x1024x24" build/tools/quillon-screenshot --sample-size \
  docs/sample-size.png
echo "wrote docs/sample-size.png"
QT_SCALE_FACTOR=2 xvfb-run -a -s "-screen 0 2560x2048x24" \
  build/tools/quillon-screenshot --sample-size docs/sample-size@2x.png
echo "wrote docs/sample-size@2x.png"
