#!/usr/bin/env bash
# Renews the seed corpora of the fuzz targets (tests/fuzz/corpus/<target>/) and the system file
# dictionary from the simulator's traffic, the system files and HEX files of the repository and the
# images qdtool and qd310sim make of them. Needs qd310sim and qdtool built in BUILD (default: build).
# usage: tests/fuzz/make-corpus.sh [BUILD]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
sim="$build/bin/qd310sim"
qdtool="$build/bin/qdtool"
corpus="$here/corpus"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

for target in bus_fuzz gateway_fuzz system_file_fuzz image_fuzz intel_hex_fuzz; do
  rm -rf "${corpus:?}/$target"
  mkdir -p "$corpus/$target"
done

record() { python3 "$here/record_traffic.py" "$@" >/dev/null; }
# An image without its trailing zero bytes: the image target pads its input with zeros.
trimmed() { python3 -c 'import sys; d=open(sys.argv[1],"rb").read().rstrip(b"\0"); open(sys.argv[2],"wb").write(d)' "$@"; }

systems=("$root/tests/data/sample_system.xml" "$root/demo/demo_system.xml")
build_time=(--build-time "2024-05-06 07:08:09")

# --- system files and images
for xml in "${systems[@]}"; do
  name="$(basename "$xml" .xml)"
  cp "$xml" "$corpus/system_file_fuzz/$name.xml"
  "$qdtool" convert "$xml" "$work/$name.bin" "${build_time[@]}"
  trimmed "$work/$name.bin" "$corpus/image_fuzz/$name"
done
# Images of the simulator's memory: sample logs, firmware 1 (logs 128 bytes earlier), a new system.
sim_image() {
  local name="$1"
  shift
  timeout 20 "$sim" --dump-memory "$work/$name.bin" "$@" >"$work/$name.out" 2>/dev/null &
  local pid=$!
  for _ in $(seq 100); do
    if grep -q '^pty: ' "$work/$name.out" 2>/dev/null; then break; fi
    sleep 0.1
  done
  kill -TERM "$pid"
  wait "$pid" || true
  trimmed "$work/$name.bin" "$corpus/image_fuzz/$name"
  # Written system files are large (every region in full): they only feed the dictionary.
  "$qdtool" convert "$work/$name.bin" "$work/$name.xml" "${build_time[@]}"
}
sim_image sim_sample_logs --system "$root/demo/demo_system.xml" --sample-logs --clock "2024-02-29 23:59:58"
sim_image sim_firmware_1 --system "$root/tests/data/sample_system.xml" --sample-logs --firmware 1.4
sim_image sim_new_system --clock off
# Small system files: pieces of a real one and the shapes a reader must refuse.
head -c 1200 "$root/demo/demo_system.xml" >"$corpus/system_file_fuzz/cut_short.xml"
printf '<?xml version="1.0"?>\n<QDsystem Version="2.0"/>\n' >"$corpus/system_file_fuzz/other_version.xml"
printf '<?xml version="1.0"?>\n<Other/>\n' >"$corpus/system_file_fuzz/other_root.xml"
printf '<?xml version="1.0"?>\n<QDsystem Version="1.0"><MainSetup><SystemName>A' \
  >"$corpus/system_file_fuzz/unclosed.xml"
printf '<?xml version="1.0" encoding="windows-1252"?>\r\n<QDsystem Version="1.0">\r\n</QDsystem>\r\n' \
  >"$corpus/system_file_fuzz/empty_system.xml"

# --- HEX files
cp "$root"/tests/data/firmware/*.hex "$corpus/intel_hex_fuzz/"
printf ':020000021000EC\n:0400000001020304F2\n:020000040001F9\n:0400100005060708D2\n:0400000300001234B3\n:00000001FF\n' \
  >"$corpus/intel_hex_fuzz/address_records.hex"
printf ':0400000001020304F3\r:00000001FF\r' >"$corpus/intel_hex_fuzz/bad_checksum_cr.hex"
printf ':0400000001020304f2\n:0400000601020304EF\n' >"$corpus/intel_hex_fuzz/lowercase_unknown_type.hex"
printf ':FF000000%s01\n:0100\n' "$(printf '%.0sAB' {1..255})" >"$corpus/intel_hex_fuzz/long_record.hex"

# --- bus traffic: the option byte says what the PC side does (see bus_fuzz.cpp)
bus() { record bus "$sim" "$qdtool" "$corpus/bus_fuzz/$1" "$2" "$3" "${@:4}"; }
triggers=(--trigger 1:qd520 --trigger 2:nortec --trigger 3:nyborg-w3 --trigger 4:nyborg-hs --trigger 5:miele
  --trigger 6:electrolux --trigger 7:ethernet)
bus monitor 40 6000 "${triggers[@]}" --sample-logs -- monitor --port @PORT --count 40
bus monitor_old_status 40 4000 --old-status --trigger 2:qd520 -- monitor --port @PORT --count 10
bus monitor_noise 40 4000 --fault noise --fault bad-checksum:every=3 --trigger 1:qd520 -- \
  monitor --port @PORT --count 15
bus read_master 45 8192 --system "$root/demo/demo_system.xml" -- read --port @PORT --master-login
bus read_login_check 41 6000 --system "$root/tests/data/sample_system.xml" -- read --port @PORT
bus read_faults 45 8000 --fault drop-replies:every=4 --fault drop-answers:2@3 -- read --port @PORT --master-login
bus write_master 46 8000 -- write "$root/tests/data/sample_system.xml" --port @PORT --master-login
bus write_serial 47 6000 -- write "$root/tests/data/sample_system.xml" --port @PORT --serial 310077
bus firmware_controller 48 3000 -- firmware flash "$root/tests/data/firmware/firmware.hex" --target controller \
  --port @PORT
bus firmware_trigger 58 3000 -- firmware flash "$root/tests/data/firmware/firmware_3700.hex" --target trigger \
  --port @PORT

# --- gateway traffic
gw() { record gateway "$sim" "$qdtool" "$corpus/gateway_fuzz/$1" "$2" "$3" "${@:4}"; }
login=(--gateway @GATEWAY --user service --password secret)
gw monitor 20 4000 --trigger 1:qd520 --trigger 5:miele -- monitor "${login[@]}" --count 4
gw read 01 8192 --gateway-block 200 --system "$root/demo/demo_system.xml" -- read "${login[@]}"
gw write 02 3000 -- write "$root/tests/data/sample_system.xml" "${login[@]}" --block-delay 0
gw write_wrong_sum 02 3000 --gateway-fault wrong-sum -- write "$root/tests/data/sample_system.xml" "${login[@]}" \
  --block-delay 0
gw refused 04 500 -- monitor --gateway @GATEWAY --user service --password wrong --count 1
gw several_systems 28 3000 --gateway-system 310009:Far:-:10.1.1.1 --gateway-system 310001::-:127.0.0.1 \
  --gateway-system 310010:Busy:someone:10.1.1.2 -- monitor "${login[@]}" --system 310001 --count 2
gw read_only 20 3000 --gateway-access 310001:B -- monitor "${login[@]}" --count 2
gw offline 20 1000 --gateway-system 310001::-:Offline -- monitor "${login[@]}" --count 1
gw in_use 00 1000 --gateway-system 310005:Busy:someone:10.1.1.2 -- monitor "${login[@]}" --system 310005 --count 1
gw read_block_order 01 6000 --gateway-fault block-order -- read "${login[@]}"

python3 "$here/synthetic_inputs.py" "$corpus"

# --- the system file dictionary: every element and attribute name the files use
{
  echo '# Element and attribute names of system files (made by make-corpus.sh).'
  cat "${systems[@]}" "$work"/sim_*.xml | grep -o '</\?[A-Za-z][A-Za-z0-9]*\| [A-Za-z]*="' |
    sort -u | sed 's/["\\]/\\&/g; s/.*/"&"/'
  printf '"%s"\n' '<?xml version=\"1.0\" encoding=\"windows-1252\"?>' '/>' '&amp;' '&#' '<![CDATA[' ']]>'
} >"$here/system_file.dict"

du -sh "$corpus"
for target in "$corpus"/*; do echo "$(basename "$target"): $(find "$target" -type f | wc -l) files"; done
