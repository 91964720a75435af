#!/usr/bin/env bash
# A sweep of 50 systems through the simulator's gateway on loopback (each read over a connection of its
# own and recorded in an SQLite history store), against the sum of single reads: qdtool read of five of
# the systems, one at a time, scaled to fifty. The ratio shows what the sweep adds to the reads.
# usage: benchmarks/fleet_sweep.sh [BUILD_BIN_DIR]
source "$(dirname "$0")/sim_lib.sh"
start_sim --system "$SOURCE/demo/demo_system.xml" --serial 310000 --gateway 0 --gateway-fleet 49
gateway=$(sed -n 's/^gateway: //p' "$WORK/sim.out")
login=(--gateway "$gateway" --user service --password secret)

start=$(now)
"$BIN/qdtool" sweep "${login[@]}" >"$WORK/sweep.txt" 2>"$WORK/sweep.err"
end=$(now)
grep -q '^50 systems: 50 read' "$WORK/sweep.txt" || { cat "$WORK/sweep.txt" "$WORK/sweep.err" >&2; exit 1; }
sweep=$(awk -v s="$start" -v e="$end" 'BEGIN { print e - s }')

single=0
for serial in 310000 310010 310020 310030 310040; do
  start=$(now)
  "$BIN/qdtool" read "${login[@]}" --system "$serial" -o "$WORK/read.xml" 2>/dev/null
  end=$(now)
  single=$(awk -v t="$single" -v s="$start" -v e="$end" 'BEGIN { print t + e - s }')
done
awk -v sweep="$sweep" -v single="$single" 'BEGIN {
  sum = single / 5 * 50
  printf "sweep: %.3f s  single reads: %.3f s  ratio: %.3f\n", sweep, sum, sweep / sum }'
