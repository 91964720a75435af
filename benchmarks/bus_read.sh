#!/usr/bin/env bash
# A full 32 KiB read of qdtool from the simulated controller pacing its output at 115200 baud:
# wall time against the wire time of every byte both sides sent (10 bits a byte).
# usage: benchmarks/bus_read.sh [BUILD_BIN_DIR [SIMULATOR OPTIONS...]]
source "$(dirname "$0")/sim_lib.sh"
start_sim --baud 115200 "${@:2}"
start=$(now)
"$BIN/qdtool" read --port "$WORK/bus" --master-login --verbose --image "$WORK/read.bin" 2>"$WORK/stats.txt"
end=$(now)
wire_ratio "$start" "$end" "$WORK/stats.txt"
