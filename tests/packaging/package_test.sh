#!/usr/bin/env bash
# Installs the build into a scratch DESTDIR as the Debian package would (prefix /usr) and checks what a
# desktop needs is there and sound: the programs and their --version, the desktop entry, the icons, the
# AppStream metadata, the udev rule, the copyright file and changelog, the compressed manual pages (qdtool's
# documents every command and option its own help names) and qdtool's bash completion. Then builds the
# Debian package with cpack into a scratch folder and has lintian check it.
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
VERSION=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD/CMakeCache.txt")

# Programs
for program in qdsystem qdtool qd310sim; do
  check "$program installed and executable" test -x "$USR/bin/$program"
done
check "installed qdtool runs" bash -c "\"$USR/bin/qdtool\" --help >/dev/null"
check "project version known" test -n "$VERSION"
version_is() {  # version_is PROGRAM: "PROGRAM VERSION" on standard output, nothing else, status 0
  local out err status
  # No display: qdsystem answers before it would want one.
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$USR/bin/$1" --version 2>"$ROOT/version.err")
  status=$?
  err=$(cat "$ROOT/version.err")
  [[ $status -eq 0 && $out == "$1 $VERSION" && -z $err ]] ||
    { echo "$1 --version: status $status, out '$out', err '$err'" && false; }
}
for program in qdsystem qdtool qd310sim; do
  check "$program --version" version_is "$program"
done

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

# gzip -9n: a sound stream, best compression, no file name and no time inside (the package is reproducible)
gzip_9n() {
  local header
  gzip -t "$1" 2>/dev/null || return 1
  header=$(od -An -tx1 -N9 "$1" | tr -d ' \n')
  [[ ${header:0:6} == 1f8b08 && ${header:8:8} == 00000000 && ${header:16:2} == 02 ]] &&
    ((!(16#${header:6:2} & 0x08)))
}

# Manual pages: compressed, of this version, render without warnings; qdtool's and qd310sim's name every
# command and option their own help names
man1=$USR/share/man/man1
renders_cleanly() {  # renders_cleanly PAGE.gz: man (or groff) formats it without a warning
  if command -v man >/dev/null; then
    MAN_DISABLE_SECCOMP=1 MANWIDTH=80 man --warnings -l "$1" 2>"$ROOT/man.err" >/dev/null
  else
    zcat "$1" | groff -man -Tutf8 -ww -z 2>"$ROOT/man.err"
  fi
  [[ $? -eq 0 && ! -s $ROOT/man.err ]] || { cat "$ROOT/man.err" && false; }
}
for program in qdsystem qdtool qd310sim; do
  page=$man1/$program.1.gz
  check "manual page $program installed compressed" gzip_9n "$page"
  check "no uncompressed manual page $program" test ! -e "$man1/$program.1"
  check "manual page $program is of version $VERSION" \
    bash -c "zcat '$page' | grep -q '^\.TH [^ ]* 1 .*\"QDsystem $VERSION\"'"
  check "manual page $program renders without warnings" renders_cleanly "$page"
done
rendered_page() {  # rendered_page PROGRAM: the page as plain text
  zcat "$man1/$1.1.gz" | groff -man -Tutf8 -P-cbou 2>/dev/null
}
rendered=$ROOT/qdtool.txt
rendered_page qdtool >"$rendered"
commands=$("$USR/bin/qdtool" --help | sed -n 's/^  \([a-z]\+\) .*/\1/p')
check "qdtool lists its commands" test -n "$commands"
check "qdtool's help names --version" bash -c "'$USR/bin/qdtool' --help | grep -q -- --version"
check "qdtool's manual page names --version" grep -q -- '--version' "$rendered"
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
options_of() {  # options_of COMMAND: the options qdtool COMMAND --help names
  "$USR/bin/qdtool" "$1" --help | grep -o -- '--[a-z][a-z-]*' | sort -u
}
for command in $commands; do
  section=$(section_of "$command")
  check "manual page has command $command" test -n "$section"
  for option in $(options_of "$command"); do
    check "manual page has $command $option" grep -q -- "$option" <<<"$section"
  done
done
sim_page=$(rendered_page qd310sim)
sim_options=$("$USR/bin/qd310sim" --help | grep -o -- '--[a-z][a-z-]*' | sort -u)
check "qd310sim's help names --version" grep -qx -- --version <<<"$sim_options"
for option in $sim_options; do
  check "qd310sim manual page has $option" grep -q -- "$option" <<<"$sim_page"
done
qdsystem_page=$(rendered_page qdsystem)
for option in QD310setup MasterLogin --version QDSYSTEM_SETTINGS QDSYSTEM_DATA; do
  check "qdsystem manual page has $option" grep -q -- "$option" <<<"$qdsystem_page"
done

# Copyright file (machine-readable) with the licence and holder of LICENSE
doc=$USR/share/doc/qdsystem
copyright=$doc/copyright
check "copyright file installed" test -f "$copyright"
check "copyright file is machine-readable" \
  grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$copyright"
holder=$(sed -n 's/^Copyright (c) //p' "$SOURCE/LICENSE")
check "LICENSE names a holder" test -n "$holder"
check "copyright file names LICENSE's holder" grep -qx "Copyright: $holder" "$copyright"
check "copyright file has the Expat licence" grep -qx 'License: Expat' "$copyright"
licence_text_is_LICENSE() {  # the continuation lines of the License field, undone, are LICENSE's terms
  cmp -s <(sed -n '/^License: Expat$/,/^$/{/^ /p}' "$copyright" | sed 's/^ //; s/^\.$//') \
    <(sed -n '/^Permission/,$p' "$SOURCE/LICENSE")
}
check "copyright file holds LICENSE's terms" licence_text_is_LICENSE

# Debian changelog: compressed, this version, distribution unstable, the fixed date of the source
# (the package is native: changelog.gz, not changelog.Debian.gz)
changelog=$doc/changelog.gz
check "Debian changelog installed compressed" gzip_9n "$changelog"
check "no changelog.Debian.gz in a native package" test ! -e "$doc/changelog.Debian.gz"
zcat "$changelog" >"$ROOT/changelog" 2>/dev/null
changelog_field() { dpkg-parsechangelog -l "$ROOT/changelog" -S "$1" 2>/dev/null; }
check "changelog parses" bash -c "dpkg-parsechangelog -l '$ROOT/changelog' >/dev/null"
check "changelog version $VERSION" test "$(changelog_field Version)" = "$VERSION"
check "changelog distribution unstable" test "$(changelog_field Distribution)" = unstable
check "changelog package qdsystem" test "$(changelog_field Source)" = qdsystem
source_date=$(sed -n 's/^ -- .*  //p' "$SOURCE/dist/debian/changelog.in")
check "changelog date from the source" test "$(changelog_field Date)" = "$source_date"

# Bash completion of qdtool: commands, each command's options as its help names them, only options qdtool
# takes, file names for files
completion=$USR/share/bash-completion/completions/qdtool
check "bash completion installed" test -f "$completion"
check "bash completion registers qdtool" \
  bash -c "source '$completion' && complete -p qdtool | grep -q -- '-F [^ ]* qdtool$'"
completions() {  # completions WORD...: the completion's offers for the last word of "qdtool WORD..."
  (cd "$ROOT/files" && bash -c 'source "$1"; shift
    COMP_WORDS=(qdtool "$@"); COMP_CWORD=$#; COMP_LINE="qdtool $*"; COMP_POINT=${#COMP_LINE}
    function=$(complete -p qdtool | sed -n "s/.*-F \([^ ]*\) .*/\1/p")
    "$function" qdtool "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf "%s\n" "${COMPREPLY[@]}"' _ "$completion" "$@")
}
offers() {  # offers WANTED WORD...: WANTED is among the offers for "qdtool WORD..."
  local wanted=$1
  shift
  # Not a pipe into grep -q: under pipefail, its early exit would fail the writer.
  grep -qx -- "$wanted" <<<"$(completions "$@")"
}
offers_only() {  # offers_only WANTED WORD...: WANTED is the one offer
  local wanted=$1
  shift
  [[ $(completions "$@") == "$wanted" ]]
}
mkdir -p "$ROOT/files/folder"
touch "$ROOT/files/image.bin" "$ROOT/files/system.xml"
check "completion: qdtool re -> read" offers read re
check "completion: qdtool info --j -> --json" offers_only --json info --j
check "completion: qdtool --v -> --version" offers_only --version --v
for command in $commands; do
  check "completion offers command $command" offers "$command" ''
  offered=$(completions "$command" -)
  for option in $(options_of "$command"); do
    check "completion offers $command $option" grep -qx -- "$option" <<<"$offered"
  done
  for option in $offered; do
    # Each offer is an option of the command: with --help, qdtool takes it and prints the usage.
    check "qdtool $command takes offered $option" \
      bash -c "'$USR/bin/qdtool' '$command' --help '$option' x >/dev/null 2>&1"
  done
done
for command in info check diff log backups calibrations ports sites history timeline; do
  check "completion offers $command --json" offers --json "$command" --
done
check "completion: a file for info" offers image.bin info im
check "completion: the second file for convert" offers system.xml convert image.bin sy
check "completion: a file after --output=" offers system.xml read --output = sys
check "completion: a file after --password-file" offers folder read --password-file fo
check "completion: the log" offers_only alarms log al
check "completion: then a file" offers image.bin log alarms im
check "completion: the firmware target" offers_only controller firmware info x.hex --target con
check "completion: no option value guessed" offers_only '' read --user ''

# AppStream metadata: valid, for the desktop entry, naming this version
metainfo=$USR/share/metainfo/com.kestrelon.qdsystem.metainfo.xml
check "AppStream metadata installed" test -f "$metainfo"
if command -v appstreamcli >/dev/null; then
  quiet() {  # quiet COMMAND...: its output only when it fails
    "$@" >"$ROOT/quiet.log" 2>&1 || { cat "$ROOT/quiet.log" && false; }
  }
  check "AppStream metadata valid" quiet appstreamcli validate --no-net "$metainfo"
  check "AppStream metadata and desktop entry valid together" quiet appstreamcli validate-tree --no-net "$ROOT"
else
  echo "FAIL: appstreamcli missing (tools/install-deps.sh installs it)"
  failures=$((failures + 1))
fi
check "AppStream metadata launches the desktop entry" \
  grep -q '<launchable type="desktop-id">qdsystem.desktop</launchable>' "$metainfo"
check "AppStream metadata's newest release is $VERSION" \
  bash -c "grep -o '<release [^>]*' '$metainfo' | head -1 | grep -q 'version=\"$VERSION\"'"

# The Debian package: the same files as the installation, sound control fields, and lintian finds no error
package=$ROOT/package
if ! (cd "$BUILD" && cpack -G DEB -B "$package") >"$ROOT/cpack.log" 2>&1; then
  cat "$ROOT/cpack.log"
fi
deb=$(echo "$package"/qdsystem_*.deb)
check "package built" test -f "$deb"
field() { dpkg-deb -f "$deb" "$1" 2>/dev/null; }
check "package version $VERSION" test "$(field Version)" = "$VERSION"
check "package maintainer is the changelog's" test "$(field Maintainer)" = "$(changelog_field Maintainer)"
check "package section" test -n "$(field Section)"
check "package depends on the Qt libraries" bash -c "grep -q libqt6 <<<'$(field Depends)'"
files_of_install() { (cd "$ROOT" && find usr -type f -o -type l | sed 's|^|./|' | sort); }
files_of_package() { dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sort; }
check "package holds what the installation holds" cmp -s <(files_of_install) <(files_of_package)
modes_are_debian() {  # owned by root; programs in usr/bin 0755, other files 0644, folders 0755
  dpkg-deb -c "$deb" | awk '
    $2 != "root/root" { print "owner: " $0; bad = 1 }
    /^d/ && $1 != "drwxr-xr-x" { print "mode: " $0; bad = 1 }
    /^-/ && $6 ~ /^\.\/usr\/bin\// && $1 != "-rwxr-xr-x" { print "mode: " $0; bad = 1 }
    /^-/ && $6 !~ /^\.\/usr\/bin\// && $1 != "-rw-r--r--" { print "mode: " $0; bad = 1 }
    END { exit bad }'
}
check "package file owners and modes" modes_are_debian
if command -v lintian >/dev/null; then
  # lintian warns when run as root, as the tests are in CI; it needs no privileges.
  lintian_options=(--fail-on error --tag-display-limit 0)
  [[ $(id -u) -eq 0 ]] && lintian_options+=(--allow-root)
  lintian "${lintian_options[@]}" "$deb" >"$ROOT/lintian.log" 2>&1
  status=$?
  cat "$ROOT/lintian.log"
  check "lintian finds no error" test "$status" -eq 0
else
  echo "FAIL: lintian missing (tools/install-deps.sh installs it)"
  failures=$((failures + 1))
fi

echo "$passes passed, $failures failed"
[[ $failures -eq 0 ]]
