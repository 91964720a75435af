#!/usr/bin/env bash
# Installs the Debian packages the project builds and tests with.
# Does nothing when everything is present already.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-serialport-dev libqt6serialport6 libgl-dev
  libqt6sql6-sqlite libqt6sql6-psql postgresql
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  libpugixml-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang-format
  clang libclang-rt-14-dev llvm-14
  xvfb xauth fonts-dejavu-core
  poppler-utils
  jq
  lintian appstream man-db groff-base desktop-file-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
