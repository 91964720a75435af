#!/usr/bin/env bash
# The translation files are up to date with the sources (gathering the texts again changes nothing) and
# complete (ts_check). On failure: tools/update-translations.sh, then translate what it added.
# usage: translations_test.sh LUPDATE TS_CHECK SOURCE_DIR
set -uo pipefail
LUPDATE=$1
TS_CHECK=$2
SOURCE=$(realpath "$3")
SCRATCH=$(mktemp -d)
trap 'rm -rf "$SCRATCH"' EXIT

status=0
copies=()
for ts in "$SOURCE"/translations/qdsystem_*.ts; do
  cp "$ts" "$SCRATCH/" && copies+=("$SCRATCH/$(basename "$ts")")
done
"$SOURCE/tools/update-translations.sh" "$LUPDATE" "${copies[@]}" || status=1
for ts in "${copies[@]}"; do
  if ! cmp -s "$ts" "$SOURCE/translations/$(basename "$ts")"; then
    echo "FAIL: translations/$(basename "$ts") is not up to date with the sources (run tools/update-translations.sh):"
    diff "$SOURCE/translations/$(basename "$ts")" "$ts" | head -40
    status=1
  fi
done
"$TS_CHECK" "${copies[@]}" || status=1
exit $status
