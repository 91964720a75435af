#!/usr/bin/env bash
# A full 32 KiB read of qdtool from the simulated controller pacing its output at 115200 baud:
# wall time against the wire time of every byte both sides sent (10 bits a byte).
# usage: bench/bus_read.sh [BUILD_BIN_DIR]
set -euo pipefail
BIN=$(realpath "${1:-build/bin}")
WORK=$(mktemp -d)
trap 'kill $SIM 2>/dev/null; rm -rf "$WORK"' EXIT
"$BIN/qd310sim" --link "$WORK/bus" --baud 115200 >"$WORK/sim.out" 2>&1 &
SIM=$!
for _ in $(seq 100); do [[ -L $WORK/bus ]] && break; sleep 0.05; done
start=$(date +%s.%N)
"$BIN/qdtool" read --port "$WORK/bus" --master-login --verbose --image "$WORK/read.bin" 2>"$WORK/stats.txt"
end=$(date +%s.%N)
rx=$(sed -n 's/^Rx: \([0-9]*\) bytes, Tx: \([0-9]*\) bytes.*/\1/p' "$WORK/stats.txt")
tx=$(sed -n 's/^Rx: \([0-9]*\) bytes, Tx: \([0-9]*\) bytes.*/\2/p' "$WORK/stats.txt")
awk -v s="$start" -v e="$end" -v rx="$rx" -v tx="$tx" 'BEGIN {
  wall = e - s; wire = (rx + tx) * 10 / 115200;
  printf "bytes: %d received + %d sent  wire: %.3f s  wall: %.3f s  ratio: %.3f\n", rx, tx, wire, wall, wall / wire }'
