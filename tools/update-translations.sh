#!/usr/bin/env bash
# Gathers the texts of qdsystem's windows (tr(), QCoreApplication::translate, QT_TRANSLATE_NOOP, and the
# core's UiText) into translations/*.ts for the translators. Existing translations are kept; texts that
# left the sources are dropped.
# usage: tools/update-translations.sh [LUPDATE] [TS_FILE...]   (default: every file in translations/)
set -euo pipefail
cd "$(dirname "$0")/.."

lupdate=${1:-/usr/lib/qt6/bin/lupdate}
[[ $lupdate == lupdate ]] && lupdate=/usr/lib/qt6/bin/lupdate  # Debian keeps Qt 6's tools off the PATH
shift || true
ts_files=("$@")
if ((${#ts_files[@]} == 0)); then ts_files=(translations/qdsystem_*.ts); fi

"$lupdate" -silent -no-obsolete -locations none -extensions cpp,h \
  -tr-function-alias translate+=UiText,QT_TRANSLATE_NOOP+=QD_TRANSLATABLE -I . -I core \
  core gui report transport -ts "${ts_files[@]}"
