#!/usr/bin/env bash
# qdtool firmware flash against the simulated boot loaders over a pseudo-terminal: the programmed
# program memory compared byte for byte with the file, a checksum error and a loader that never answers.
# usage: flash_e2e.sh QDTOOL DATA_DIR
source "$(dirname "$0")/lib/common.sh"
start_sim() {
  rm -f firmware.bin
  start_bus_sim --dump-firmware "$WORK/firmware.bin" "$@"
}
# expected_image HEX SIZE OUT: the file's bytes over the program memory, 0xFF where the file has none.
expected_image() {
  python3 - "$1" "$2" "$3" <<'PY'
import sys
size = int(sys.argv[2], 0)
image = bytearray(b"\xff" * size)
base = 0
for line in open(sys.argv[1]):
    line = line.strip()
    if len(line) < 11:
        continue
    record = bytes.fromhex(line[1:])
    count, address, kind = record[0], (record[1] << 8) | record[2], record[3]
    data = record[4:4 + count]
    if kind == 0:
        for i, byte in enumerate(data):
            if base + address + i < size:
                image[base + address + i] = byte
    elif kind == 2:
        base = ((data[0] << 8) | data[1]) * 16
    elif kind == 4:
        base = ((data[0] << 8) | data[1]) << 16
open(sys.argv[3], "wb").write(image)
PY
}
# flash NAME HEX TARGET SIZE: programs HEX and compares the program memory with it.
flash() {
  local name=$1 hex=$2 target=$3 size=$4
  expected_image "$hex" "$size" expected.bin
  start_sim
  check "$name: flash" "$QDTOOL" firmware flash "$hex" --target "$target" --port ./bus >out.txt 2>err.txt ||
    { cat out.txt err.txt; tail -5 sim.err; }
  check "$name: states" diff -u <(printf 'Started, waiting...\nProgramming...\nCompleted, OK.\n') out.txt
  "$QDTOOL" monitor --port ./bus --count 1 --seconds 5 >monitor.txt 2>&1
  check "$name: polling resumes" grep -q '^status: ' monitor.txt
  stop_sim
  check "$name: programmed memory equals the file" cmp expected.bin firmware.bin
}

flash "controller" "$DATA/firmware/firmware.hex" controller 0xFC00
flash "controller, split file" "$DATA/firmware/firmware_split.hex" controller 0xFC00
flash "trigger" "$DATA/firmware/firmware.hex" trigger 0x3800
flash "trigger, file crossing the end" "$DATA/firmware/firmware_3700.hex" trigger 0x3800

# The loader reports a checksum error.
start_sim --loader-fault checksum
"$QDTOOL" firmware flash "$DATA/firmware/firmware.hex" --target controller --port ./bus >out.txt 2>err.txt
check "checksum error: status 1" test $? -eq 1
check "checksum error: message" grep -qx 'qdtool: Checksum error' err.txt
check "checksum error: states" diff -u <(printf 'Started, waiting...\nProgramming...\nChecksum error\n') out.txt
stop_sim

# The loader never answers: the tool gives up after its own 5 s.
start_sim --loader-fault silent
started=$SECONDS
"$QDTOOL" firmware flash "$DATA/firmware/firmware.hex" --target trigger --port ./bus >out.txt 2>err.txt
check "time-out: status 1" test $? -eq 1
check "time-out: message" grep -qx 'qdtool: Timeout error!' err.txt
check "time-out: states" diff -u <(printf 'Started, waiting...\nTimeout error!\n') out.txt
check "time-out: within 10 s" test $((SECONDS - started)) -le 10
stop_sim
check "time-out: nothing programmed" cmp <(head -c $((0x3800)) /dev/zero | tr '\0' '\377') firmware.bin

# Usage: a port is required.
"$QDTOOL" firmware flash "$DATA/firmware/firmware.hex" --target controller >/dev/null 2>err.txt
check "no port: usage error" test $? -eq 2

finish
