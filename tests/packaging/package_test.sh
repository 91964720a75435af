#!/usr/bin/env bash
# Installs the build into a scratch DESTDIR as the Debian package would (prefix /usr) and checks what a
# desktop needs is there and sound: the programs, the desktop entry, the icons, the udev rule and a
# manual page that documents every command and option qdtool's own help names.
# usage: package_test.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
export LC_ALL=C
BUILD=$(realpath "$1")
SOURCE=$(realpath "$2")
ROOT=$(mktemp -d)
trap 'rm -rf "$ROOT"' EXIT

failures=0
passes=0
check() {  # check NAME COMMAND...: the command must succeed
  local name=$1
  shift
  if "$@"; then passes=$((passes + 1)); else echo "FAIL: $name"; failures=$((failures + 1)); fi
}

if ! DESTDIR="$ROOT" cmake --install "$BUILD" --prefix /usr >"$ROOT.log" 2>&1; then
  cat "$ROOT.log"
  rm -f "$ROOT.log"
  echo "FAIL: cmake --install"
  exit 1
fi
rm -f "$ROOT.log"
USR=$ROOT/usr

# Programs
for program in qdsystem qdtool qd310sim; do
  check "$program installed and executable" test -x "$USR/bin/$program"
done
check "installed qdtool runs" bash -c "\"$USR/bin/qdtool\" --help >/dev/null"

# Desktop entry
desktop=$USR/share/applications/qdsystem.desktop
check "desktop entry installed" test -f "$desktop"
for key in 'Type=Application' 'Name=QDsystem' 'Exec=qdsystem' 'Icon=qdsystem' 'Terminal=false'; do
  check "desktop entry has $key" grep -qx "$key" "$desktop"
done
check "desktop entry has categories" grep -q '^Categories=.*;$' "$desktop"
if command -v desktop-file-validate >/dev/null; then
  check "desktop entry valid" desktop-file-validate "$desktop"
fi

# Icons: the scalable one and PNGs whose header gives the size of their folder
icons=$USR/share/icons/hicolor
check "scalable icon installed" grep -q '<svg' "$icons/scalable/apps/qdsystem.svg"
png_size_is() {  # png_size_is FILE N: a PNG of N x N pixels
  local header
  header=$(od -An -tx1 -j0 -N24 "$1" 2>/dev/null | tr -d ' \n')
  [[ ${header:0:16} == 89504e470d0a1a0a ]] &&
    ((16#${header:32:8} == $2 && 16#${header:40:8} == $2))
}
for size in 32 48 64 128 256; do
  check "icon ${size}x$size" png_size_is "$icons/${size}x$size/apps/qdsystem.png" "$size"
done

# udev rule (when the source tree has one)
if [[ -f $SOURCE/dist/linux/60-qdsystem-ftdi.rules ]]; then
  check "udev rule installed" cmp -s "$SOURCE/dist/linux/60-qdsystem-ftdi.rules" \
    "$ROOT/usr/lib/udev/rules.d/60-qdsystem-ftdi.rules"
fi

# Manual page: renders without warnings, and names every command and option of qdtool's help
page=$USR/share/man/man1/qdtool.1
check "manual page installed" test -f "$page"
if command -v groff >/dev/null; then
  rendered=$ROOT/qdtool.txt
  check "manual page renders without warnings" bash -c \
    "groff -man -Tutf8 -ww -P-cbou '$page' 2>'$ROOT/groff.err' >'$rendered' && ! [[ -s '$ROOT/groff.err' ]]"
  commands=$("$USR/bin/qdtool" --help | sed -n 's/^  \([a-z]\+\) .*/\1/p')
  check "qdtool lists its commands" test -n "$commands"
  section_of() {  # section_of COMMAND: the rendered text from its entry to the next command's
    awk -v command="$1" -v all="$(echo $commands)" '
      BEGIN { n = split(all, names, " ") }
      function entry(line,   i) {
        for (i = 1; i <= n; ++i) if (line ~ ("^       " names[i] "( |$)")) return names[i]
        return ""
      }
      /^[A-Z]/ { inside = 0 }
      { e = entry($0); if (e != "") inside = (e == command); if (inside) print }' "$rendered"
  }
  for command in $commands; do
    section=$(section_of "$command")
    check "manual page has command $command" test -n "$section"
    for option in $("$USR/bin/qdtool" "$command" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
      check "manual page has $command $option" grep -q -- "$option" <<<"$section"
    done
  done
fi

echo "$passes passed, $failures failed"
[[ $failures -eq 0 ]]
