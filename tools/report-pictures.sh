#!/usr/bin/env bash
# Renders the results report of each analysis under Xvfb into docs/: docs/report-<analysis>.png at
# the normal scale and docs/report-<analysis>@2x.png at twice the scale. Then it checks what a
# user pastes into a word processor: the HTML "复制" puts on the clipboard is opened in
# LibreOffice Writer (headless) and converted to PDF, and the PDF's page to
# docs/report-<analysis>-writer.png. Last, the two-sample and four-fold reports as "保存报告" writes
# them: the ODT opened in LibreOffice Writer and converted to PDF, and the saved PDF itself, each
# first page to docs/report-<analysis>-odt.png and docs/report-<analysis>-pdf.png.
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
# The two sample analyses whose data suit a rank test, with the rank tests' sentences.
for analysis in two-sample paired; do
  xvfb-run -a -s "-screen 0 1280x1024x24" build/tools/quillon-screenshot \
    --report "$analysis" --ranks "$work/ranks.png"
  mv "$work/ranks.png" "docs/report-$analysis-ranks.png"
  echo "wrote docs/report-$analysis-ranks.png"
done
for analysis in two-sample fourfold; do
  for format in odt pdf; do
    xvfb-run -a -s "-screen 0 1280x1024x24" build/tools/quillon-screenshot \
      --report "$analysis" --save-report "$work/saved-$analysis.$format"
  done
  soffice --headless -env:UserInstallation="file://$work/profile" --convert-to pdf \
    --outdir "$work/odt" "$work/saved-$analysis.odt" >/dev/null
  pdftoppm -png -r 80 -f 1 -l 1 -singlefile "$work/odt/saved-$analysis.pdf" \
    "docs/report-$analysis-odt"
  pdftoppm -png -r 80 -f 1 -l 1 -singlefile "$work/saved-$analysis.pdf" "docs/report-$analysis-pdf"
  echo "wrote docs/report-$analysis-odt.png and -pdf.png"
done
rm -f docs/report-*.html
