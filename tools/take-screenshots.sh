#!/usr/bin/env bash
# Builds qdsystem and saves pictures of its windows, shown against the simulator under Xvfb, into
# docs/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."

./tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target qdsystem_screenshots
mkdir -p docs/screenshots
LC_ALL=C.UTF-8 xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/qdsystem_screenshots docs/screenshots
# Windows in German, for the README's part on languages and the sites window.
german=$(mktemp -d)
LC_ALL=de_DE.UTF-8 xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/qdsystem_screenshots "$german" >/dev/null
cp "$german/machine.png" docs/screenshots/de_machine.png
cp "$german/read_write_done.png" docs/screenshots/de_read_write.png
cp "$german/sites.png" docs/screenshots/de_sites.png
rm -rf "$german"
# The first and the last page of the service report of the same controller.
pdf=docs/screenshots/service_report.pdf
pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
pdftoppm -r 70 -png -singlefile -f 1 -l 1 "$pdf" docs/screenshots/service_report_first_page
pdftoppm -r 70 -png -singlefile -f "$pages" -l "$pages" "$pdf" docs/screenshots/service_report_last_page
rm "$pdf"
