#!/usr/bin/env bash
# The Qt-free core on Windows: installs mingw-w64 and Wine when missing, cross-builds qdcore and its
# GoogleTest program for 64-bit Windows into build-windows/ and runs every test under Wine.
# Exits 0 only when every test passed. Arguments go to the test program (--gtest_filter=...).
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
build=${QD_WINDOWS_BUILD:-build-windows}
mkdir -p "$build"
build=$(cd "$build" && pwd)

packages=(cmake ninja-build dpkg-dev g++-mingw-w64-x86-64-posix wine64 googletest)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
SUDO=""
if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi
if ((${#missing[@]} > 0)); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# pugixml from Debian's source package (the binary packages ship only the Linux library). Its deb-src
# lines live in a private apt folder beside the build: the machine's apt configuration stays as it is.
pugixml_source() {
  { compgen -G "$build/pugixml/pugixml-*/src/pugixml.cpp" || true; } | head -n 1 | sed 's|/src/pugixml.cpp$||'
}
if [[ -z $(pugixml_source) ]]; then
  apt_dir=$build/apt
  rm -rf "$apt_dir" "$build/pugixml"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/sources.list.d" "$build/pugixml"
  : >"$apt_dir/sources.list"
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [[ -f $f ]] && sed -nE 's/^deb([[:space:]])/deb-src\1/p' "$f" >>"$apt_dir/sources.list"
  done
  for f in /etc/apt/sources.list.d/*.sources; do
    [[ -f $f ]] && sed -E 's/^Types:.*/Types: deb-src/' "$f" >"$apt_dir/sources.list.d/$(basename "$f")"
  done
  apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
               -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache" -o APT::Sandbox::User=root)
  # A source other than Debian's may have no source packages; Debian's are what counts.
  apt-get -qq "${apt_options[@]}" update || true
  (cd "$build/pugixml" && apt-get -qq "${apt_options[@]}" source pugixml >/dev/null)
  rm -rf "$apt_dir"
fi
pugixml=$(pugixml_source)
if [[ -z $pugixml ]]; then
  echo "windows-core: pugixml's source package could not be unpacked" >&2
  exit 1
fi

# -O2 without debug information: the quickest build of the tests as they ship.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" -DQD_CORE_ONLY=ON -DQD_BUILD_BENCH=OFF \
  -DQD_PUGIXML_SOURCE_DIR="$pugixml" -DQD_GTEST_SOURCE_DIR=/usr/src/googletest >/dev/null
cmake --build "$build" --target qdcore_tests -j"$(nproc)"
built=$SECONDS

# Wine in a prefix of its own, without a display: nothing may open a window or wait for one.
wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
export WINEPREFIX=$build/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
unset DISPLAY WAYLAND_DISPLAY
if [[ ! -f $WINEPREFIX/system.reg ]]; then
  # A new prefix; Wine's notes about its missing 32-bit half do not matter here.
  "$wine" wineboot --init >/dev/null 2>&1 || true
fi
report=$build/qdcore_tests.xml
rm -f "$report"
status=0
# Wine shows the machine's / as drive Z:.
"$wine" "$build/bin/qdcore_tests.exe" --gtest_brief=1 --gtest_output="xml:Z:$report" "$@" || status=$?
"$wineserver" -k 2>/dev/null || true

if [[ ! -s $report ]]; then
  echo "windows-core: the test program left no report (exit status $status)" >&2
  exit 1
fi
attribute() { grep -m1 -o "<testsuites [^>]*" "$report" | grep -o " $1=\"[0-9]*\"" | grep -o '[0-9]*'; }
tests=$(attribute tests)
failed=$(($(attribute failures) + $(attribute errors)))
skipped=$(grep -c 'result="skipped"' "$report" || true)
passed=$((tests - failed - skipped))
echo "windows-core: built in $((built - started)) s, tests ran in $((SECONDS - built)) s under Wine"
echo "windows: $passed passed, $failed failed, $skipped skipped"
if ((status != 0 || failed != 0)); then exit 1; fi
