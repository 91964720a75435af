#!/usr/bin/env bash
# Source rules that the compiler does not check: the core stays free of Qt.
set -euo pipefail
cd "$(dirname "$0")/.."

status=0
if grep -rEn '#include\s*<Q|#include\s*"Q|Q_OBJECT' core/ ; then
  echo "check-sources: core/ must not use Qt" >&2
  status=1
fi
exit $status
