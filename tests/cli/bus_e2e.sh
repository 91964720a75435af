#!/usr/bin/env bash
# qdtool read, write and monitor against the simulated dosing system over a pseudo-terminal:
# memory compared byte for byte, clean and with faults on the bus.
# usage: bus_e2e.sh QDTOOL DATA_DIR
source "$(dirname "$0")/lib/common.sh"
start_sim() { start_bus_sim --dump-memory "$WORK/dump.bin" "$@"; }

# Compares two images, leaving out the build time (0x67..0x6D) and the login code terminator (0x22E).
same_image() {
  cmp -s <(od -An -v -tx1 -w1 "$1" | sed '104,110d;559d') <(od -An -v -tx1 -w1 "$2" | sed '104,110d;559d')
}
# Compares the system data a write stores (offset 32 up to the data length), leaving out the build time.
same_written() {
  cmp -s -i 32 -n $((0x67 - 32)) "$1" "$2" && cmp -s -i $((0x6E)) -n $((DATA_END - 0x6E)) "$1" "$2"
}
DATA_END=15680  # data length of the sample system
T="2024-02-29 13:14:15"
"$QDTOOL" convert "$DATA/sample_system.xml" sample.bin --build-time "$T"
"$QDTOOL" convert "$DATA/sample_system.xml" secret.bin --build-time "$T" --master-login --system-login-code SECRET

# A clean read returns the controller's memory byte for byte.
start_sim --image sample.bin
check "clean read" "$QDTOOL" read --port ./bus --image read.bin -o read.xml
stop_sim
check "read image equals the memory" same_image read.bin dump.bin
check "read system file" grep -q '<Name>Towels</Name>' read.xml

# A clean write stores exactly the system data from offset 32 to the data length.
start_sim
check "clean write" "$QDTOOL" write "$DATA/sample_system.xml" --port ./bus
stop_sim
check "written memory" same_written sample.bin dump.bin

# Lost answers, lost replies, noise and bad checksums: retransmission repairs them all.
start_sim --image sample.bin --fault drop-answers:every=37 --fault drop-replies:every=53 --fault noise:rate=0.3 \
  --fault bad-checksum:every=41 --seed 7
check "read through faults" "$QDTOOL" read --port ./bus --image faulty.bin || { cat sim.err | tail -5; false; }
check "write through faults" "$QDTOOL" write "$DATA/sample_system.xml" --port ./bus
stop_sim
check "faulty read equals the memory" same_image faulty.bin sample.bin
check "faulty write stored the data" same_written sample.bin dump.bin

# A late PC: the controller's answer window closes before the answer arrives, every fifth frame and
# every frame. Each late answer is taken for the repeat of the frame; resynchronisations stay few.
for late in every=5 every=1; do
  start_sim --image sample.bin --fault late-answers:$late
  check "read with late answers ($late)" "$QDTOOL" read --port ./bus --verbose --image late.bin 2>late-read.txt
  check "write with late answers ($late)" "$QDTOOL" write "$DATA/sample_system.xml" --port ./bus
  stop_sim
  check "late read equals the memory ($late)" same_image late.bin sample.bin
  check "late write stored the data ($late)" same_written sample.bin dump.bin
  syncs=$(sed -n 's/.*Sync: \([0-9]*\),.*/\1/p' late-read.txt)
  # A slow machine adds late answers of its own; without the late-answer rule there are hundreds.
  check "few resynchronisations ($late: ${syncs:-none})" test "${syncs:-999}" -le 100
done

# Login code: pass, wrong, no answer.
start_sim --image secret.bin
check "right login code" "$QDTOOL" read --port ./bus --login-code SECRET --image secret-read.bin
"$QDTOOL" read --port ./bus --login-code KMWPLTRS --image never.bin 2>err.txt
check "wrong login code exits 1" test $? -eq 1
check "wrong login code message" test "$(cat err.txt)" = "qdtool: Wrong System login code"
check "nothing written after a refusal" test ! -e never.bin
"$QDTOOL" write "$DATA/sample_system.xml" --port ./bus 2>err.txt
check "write refused with the default code" test "$(cat err.txt)" = "qdtool: Wrong System login code"
check "master login skips the check" "$QDTOOL" read --port ./bus --master-login --image master.bin
stop_sim
start_sim --image secret.bin --fault silence:5000
"$QDTOOL" read --port ./bus --login-code SECRET 2>err.txt
check "no answer exits 1" test $? -eq 1
check "no answer message" test "$(cat err.txt)" = "qdtool: Unable to check Login code. No response from System"
stop_sim

# Write serial stores the number with the header.
start_sim
check "write serial" "$QDTOOL" write "$DATA/sample_system.xml" --port ./bus --serial 12345
stop_sim
check "serial bytes" test "$(od -An -tx1 -j 10 -N 4 dump.bin | tr -d ' ')" = "39300000"
check "magic written" test "$(head -c 5 dump.bin)" = "QD310"

# Monitor prints decoded status lines.
start_sim --trigger 3:5
"$QDTOOL" monitor --port ./bus --count 4 >monitor.txt
check "monitor exits 0" test $? -eq 0
check "monitor lines" test "$(wc -l <monitor.txt)" -eq 4
check "status decoded" grep -q '^status: pumps=' monitor.txt
stop_sim

# The port vanishing mid-transfer ends the read cleanly.
start_sim --image sample.bin
"$QDTOOL" read --port ./bus --image lost.bin 2>err.txt &
READ_PID=$!
sleep 0.5
kill -KILL "$SIM_PID"
wait "$SIM_PID" 2>/dev/null
SIM_PID=""
wait "$READ_PID"
check "lost port exits 1" test $? -eq 1
check "lost port message" grep -q '^qdtool: ' err.txt
check "no partial image" test ! -e lost.bin

# A controller that stops answering: the read ends after its 20 s limit.
start_sim --image sample.bin --fault drop-replies:1000000@20
"$QDTOOL" read --port ./bus --master-login 2>err.txt
check "timeout exits 1" test $? -eq 1
check "timeout message" test "$(cat err.txt)" = "qdtool: Timeout!"
stop_sim

finish
