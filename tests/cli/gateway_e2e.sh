#!/usr/bin/env bash
# qdtool read, write and monitor through the simulator's gateway server on loopback TCP.
# usage: gateway_e2e.sh QDTOOL DATA_DIR
source "$(dirname "$0")/lib/common.sh"

start_sim() { start_gateway_sim --serial 310001 --dump-memory "$WORK/dump.bin" "$@"; }
same_written() {  # the system data a write stores, without the build time
  cmp -s -i 32 -n $((0x67 - 32)) "$1" "$2" && cmp -s -i $((0x6E)) -n $((15680 - 0x6E)) "$1" "$2"
}
LOGIN=(--user service --password secret)
"$QDTOOL" convert "$DATA/sample_system.xml" sample.bin --build-time "2024-02-29 13:14:15"
"$QDTOOL" convert "$DATA/sample_system.xml" secret.bin --build-time "2024-02-29 13:14:15" \
  --master-login --system-login-code SECRET

# One free system: read, write with the sum confirmed, monitor.
start_sim --image sample.bin
check "read" "$QDTOOL" read --gateway "$GW" "${LOGIN[@]}" --image read.bin -o read.xml
# the same memory but for the identity the simulator keeps (0x07..0x0D) and the login code terminator
check "read image" cmp -s <(od -An -v -tx1 -w1 read.bin | sed '8,14d;559d') <(od -An -v -tx1 -w1 sample.bin | sed '8,14d;559d')
check "write" "$QDTOOL" write "$DATA/sample_system.xml" --gateway "$GW" "${LOGIN[@]}" --block-delay 5
"$QDTOOL" monitor --gateway "$GW" "${LOGIN[@]}" --count 2 >monitor.txt
check "monitor" test "$(grep -c '^remote status: ' monitor.txt)" -eq 2
"$QDTOOL" read --gateway "$GW" --user service --password wrong 2>err.txt
check "login refused" test "$(cat err.txt)" = "qdtool: Invalid user name or password"
stop_sim
check "written data" same_written sample.bin dump.bin

# Two systems: --system picks one; without it the list is shown; one in use is refused.
start_sim --image sample.bin --gateway-system 310001::-:127.0.0.1 --gateway-system 777:Other:-:Offline
"$QDTOOL" read --gateway "$GW" "${LOGIN[@]}" 2>err.txt
check "several systems need --system" test $? -eq 1
check "list shown" grep -q '777' err.txt
check "--system picks" "$QDTOOL" read --gateway "$GW" "${LOGIN[@]}" --system 310001 --image two.bin
stop_sim
start_sim --image sample.bin --gateway-system 310001::Anna:127.0.0.1
"$QDTOOL" read --gateway "$GW" "${LOGIN[@]}" --system 310001 2>err.txt
check "system in use" grep -q 'no free system to connect to: .*in use: Anna' err.txt
stop_sim

# Read-only access refuses a write.
start_sim --image sample.bin --gateway-user viewer:view:B
"$QDTOOL" write "$DATA/sample_system.xml" --gateway "$GW" --user viewer --password view 2>err.txt
check "read-only write refused" test $? -eq 1
check "read-only message" grep -q 'read-only' err.txt
stop_sim

# A read refused for a wrong login code is no read: the files named keep what they held, no backup.
start_sim --image secret.bin
echo kept >kept.xml
echo kept >kept.bin
backups_before=$(find "$QDSYSTEM_DATA" -name '*.bin' 2>/dev/null | wc -l)
"$QDTOOL" read --gateway "$GW" "${LOGIN[@]}" -o kept.xml --image kept.bin 2>err.txt
check "wrong code exits 1" test $? -eq 1
check "wrong code message" test "$(cat err.txt)" = "qdtool: Wrong System login code"
check "output untouched" test "$(cat kept.xml)" = kept
check "image untouched" test "$(cat kept.bin)" = kept
check "no backup of a refused read" test "$(find "$QDSYSTEM_DATA" -name '*.bin' 2>/dev/null | wc -l)" -eq "$backups_before"
check "right code" "$QDTOOL" read --gateway "$GW" "${LOGIN[@]}" --login-code SECRET -o right.xml
stop_sim

# A bad confirmation sum, a block out of order, the connection dropped mid-read.
start_sim --image sample.bin --gateway-fault wrong-sum
"$QDTOOL" write "$DATA/sample_system.xml" --gateway "$GW" "${LOGIN[@]}" --block-delay 5 2>err.txt
check "bad sum message" test "$(cat err.txt)" = "qdtool: Confirm received - bad checksum!"
stop_sim
start_sim --image sample.bin --gateway-fault block-order
"$QDTOOL" read --gateway "$GW" "${LOGIN[@]}" 2>err.txt
check "block out of order" grep -q '^qdtool: Transfer faild at: ' err.txt
stop_sim
start_sim --image sample.bin --gateway-fault drop-read:3
"$QDTOOL" read --gateway "$GW" "${LOGIN[@]}" --image dropped.bin 2>err.txt
check "dropped read exits 1" test $? -eq 1
check "dropped read message" grep -q '^qdtool: ' err.txt
check "nothing written" test ! -e dropped.bin
stop_sim

finish
