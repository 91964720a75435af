#!/usr/bin/env bash
# qdtool read and write when the adapter is pulled out half way (the simulator killed: its pseudo-terminal
# closes) and when the gateway drops the connection half way: one clear line, exit status 1, no hang, no
# partial output file.
# usage: fault_transfers.sh QDTOOL DATA_DIR
source "$(dirname "$0")/lib/common.sh"
HANG_LIMIT=60  # far beyond any transfer here: reaching it means qdtool hung

# Waits (bounded) until the simulator's verbose trace holds at least COUNT lines matching PATTERN.
wait_for_trace() {
  local pattern=$1 count=$2
  for _ in $(seq 600); do
    [[ $(grep -c -- "$pattern" sim.err) -ge $count ]] && return 0
    kill -0 "$SIM_PID" 2>/dev/null || return 1
    sleep 0.05
  done
  return 1
}
# The simulator ended by SIGNAL once the transfer has come that far.
unplug_after() {
  local pattern=$1 count=$2 signal=$3
  wait_for_trace "$pattern" "$count" || echo "the transfer did not start: $(tail -3 sim.err)"
  kill "-$signal" "$SIM_PID"
  wait "$SIM_PID" 2>/dev/null
  SIM_PID=""
}
# The command ended with status 1 and said one line starting with "qdtool: " that matches TEXT.
one_line_failure() {
  local status=$1 text=$2
  [[ $status -eq 1 ]] || { echo "exit status $status"; return 1; }
  [[ $(wc -l <err.txt) -eq 1 ]] || { echo "stderr: $(cat err.txt)"; return 1; }
  grep -q "^qdtool: .*$text" err.txt || { echo "stderr: $(cat err.txt)"; return 1; }
}

"$QDTOOL" convert "$DATA/sample_system.xml" sample.bin

for signal in KILL TERM; do
  start_bus_sim --image sample.bin --verbose
  timeout "$HANG_LIMIT" "$QDTOOL" read --port ./bus --master-login --image lost.bin -o lost.xml 2>err.txt &
  TOOL_PID=$!
  unplug_after 'rx 0x44 read' 40 "$signal"
  wait "$TOOL_PID"
  check "read unplugged ($signal)" one_line_failure $? "the port was lost during the read"
  check "no partial files ($signal)" test ! -e lost.bin -a ! -e lost.xml
done

start_bus_sim --verbose
timeout "$HANG_LIMIT" "$QDTOOL" write "$DATA/sample_system.xml" --port ./bus 2>err.txt &
TOOL_PID=$!
unplug_after 'rx 0x46' 20 KILL
wait "$TOOL_PID"
check "write unplugged" one_line_failure $? "the port was lost during the write"

# Plugged in again on the same path, the next read goes through.
start_bus_sim --image sample.bin
check "read after the reconnect" "$QDTOOL" read --port ./bus --master-login --image again.bin
stop_sim
check "read after the reconnect is whole" test "$(stat -c %s again.bin)" -eq 32768

# The gateway drops the connection during a read and during a write (default pause between blocks:
# without the connection the write must not pause through all the blocks that are left).
start_gateway_sim() {
  start_bus_sim --gateway 0 "$@" || return 1
  for _ in $(seq 100); do
    GW=$(sed -n 's/^gateway: //p' sim.out)
    [[ -n $GW ]] && return 0
    sleep 0.05
  done
  return 1
}
LOGIN=(--user service --password secret)
start_gateway_sim --image sample.bin --gateway-fault drop-read:3 --gateway-fault drop-write:4
timeout "$HANG_LIMIT" "$QDTOOL" read --gateway "$GW" "${LOGIN[@]}" --image dropped.bin 2>err.txt
check "gateway read dropped" one_line_failure $? "the gateway closed the connection during the read"
check "no partial image" test ! -e dropped.bin
timeout "$HANG_LIMIT" "$QDTOOL" write "$DATA/sample_system.xml" --gateway "$GW" "${LOGIN[@]}" 2>err.txt
check "gateway write dropped" one_line_failure $? "the gateway closed the connection during the write"
# Each fault hits once: connecting again works.
check "gateway read after the drop" "$QDTOOL" read --gateway "$GW" "${LOGIN[@]}" --image whole.bin
check "gateway write after the drop" "$QDTOOL" write "$DATA/sample_system.xml" --gateway "$GW" "${LOGIN[@]}" \
  --block-delay 5
stop_sim

finish
