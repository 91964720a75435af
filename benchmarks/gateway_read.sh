#!/usr/bin/env bash
# A full 32 KiB read of qdtool through the simulator's gateway server on loopback TCP: log-in, system
# list, connect, login code check and every data block, as a service technician's remote read.
# usage: benchmarks/gateway_read.sh [BUILD_BIN_DIR]
source "$(dirname "$0")/sim_lib.sh"
start_sim --system "$SOURCE/demo/demo_system.xml" --gateway 0
gateway=$(sed -n 's/^gateway: //p' "$WORK/sim.out")
start=$(now)
"$BIN/qdtool" read --gateway "$gateway" --user service --password secret --verbose \
  -o "$WORK/read.xml" 2>"$WORK/stats.txt"
end=$(now)
bytes=$(sed -n 's/^Rx: \([0-9]*\) bytes.*/\1/p' "$WORK/stats.txt")
awk -v s="$start" -v e="$end" -v rx="$bytes" 'BEGIN { printf "bytes: %d received  wall: %.3f s\n", rx, e - s }'
