# Shared by the bus and gateway benchmarks: the tools of one build and a simulator in a scratch folder.
# Sourced with the build's bin folder as $1 (default build/bin).
set -euo pipefail
BIN=$(realpath "${1:-build/bin}")
SOURCE=$(realpath "$(dirname "${BASH_SOURCE[0]}")/..")
WORK=$(mktemp -d)
SIM=""
trap '[[ -n $SIM ]] && kill "$SIM" 2>/dev/null; wait 2>/dev/null; rm -rf "$WORK"' EXIT
# The backups and the history store of the reads stay out of the user's data folder.
export QDSYSTEM_DATA="$WORK/data" QDSYSTEM_SETTINGS="$WORK/preferences.ini"

# start_sim OPTIONS...: the simulated controller on $WORK/bus; waits (bounded) for its first lines.
start_sim() {
  "$BIN/qd310sim" --link "$WORK/bus" "$@" >"$WORK/sim.out" 2>"$WORK/sim.err" &
  SIM=$!
  local wanted='^pty: '
  [[ " $* " == *" --gateway "* ]] && wanted='^gateway: '
  for _ in $(seq 200); do
    grep -q "$wanted" "$WORK/sim.out" 2>/dev/null && return 0
    sleep 0.05
  done
  echo "the simulator did not start: $(cat "$WORK/sim.err")" >&2
  exit 1
}

now() { date +%s.%N; }

# wire_ratio START END STATS: the byte counters of qdtool --verbose against the wire time at 115200 baud.
wire_ratio() {
  local rx tx
  rx=$(sed -n 's/^Rx: \([0-9]*\) bytes, Tx: \([0-9]*\) bytes.*/\1/p' "$3")
  tx=$(sed -n 's/^Rx: \([0-9]*\) bytes, Tx: \([0-9]*\) bytes.*/\2/p' "$3")
  awk -v s="$1" -v e="$2" -v rx="$rx" -v tx="$tx" 'BEGIN {
    wall = e - s; wire = (rx + tx) * 10 / 115200;
    printf "bytes: %d received + %d sent  wire: %.3f s  wall: %.3f s  ratio: %.3f\n", rx, tx, wire, wall, wall / wire }'
}
