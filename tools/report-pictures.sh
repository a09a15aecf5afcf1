#!/usr/bin/env bash
# Renders the results report of each analysis under Xvfb into docs/: docs/report-<analysis>.png at
# the normal scale and docs/report-<analysis>@2x.png at twice the scale. Then it checks what a
# user pastes into a word processor: the HTML "复制" puts on the clipboard is opened in
# LibreOffice Writer (headless) and converted to PDF, and the PDF's page to
# docs/report-<analysis>-writer.png.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --xvfb --pictures
scripts/build.sh quillon-screenshot
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for analysis in two-sample paired correlation fourfold mcnemar; do
  xvfb-run -a -s "-screen 0 1280x1024x24" \
    build/tools/quillon-screenshot --report "$analysis" "docs/report-$analysis.png"
  QT_SCALE_FACTOR=2 xvfb-run -a -s "-screen 0 2560x2048x24" \
    build/tools/quillon-screenshot --report "$analysis" "$work/report-$analysis@2x.png"
  mv "$work/report-$analysis@2x.png" "docs/report-$analysis@2x.png"
  mv "docs/report-$analysis.html" "$work/report-$analysis.html"
  soffice --headless -env:UserInstallation="file://$work/profile" \
    --infilter="HTML (StarWriter)" --convert-to pdf:writer_pdf_Export \
    --outdir "$work" "$work/report-$analysis.html" >/dev/null
  pdftoppm -png -r 80 -singlefile "$work/report-$analysis.pdf" "docs/report-$analysis-writer"
  echo "wrote docs/report-$analysis.png, @2x and -writer.png"
done
# The two-sample report in each journal style: AMA / JAMA, NEJM, APA 7 (the default is above).
for style in 1 2 3; do
  xvfb-run -a -s "-screen 0 1280x1024x24" build/tools/quillon-screenshot \
    --report two-sample --journal "$style" "$work/style.png"
  mv "$work/style.png" "docs/report-style-$style.png"
  echo "wrote docs/report-style-$style.png"
done
rm -f docs/report-*.html
