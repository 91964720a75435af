# Shared by the command-line tests: tool paths, a scratch folder, checks and the simulator.
# Sourced with QDTOOL and DATA_DIR as the script's arguments.
set -uo pipefail
export LC_ALL=C
QDTOOL=$(realpath "$1")
DATA=$(realpath "$2")
SIM=$(dirname "$QDTOOL")/qd310sim
WORK=$(mktemp -d)
SIM_PID=""
cleanup() {
  [[ -n $SIM_PID ]] && kill "$SIM_PID" 2>/dev/null && wait "$SIM_PID" 2>/dev/null
  chmod -R u+w "$WORK" 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT
cd "$WORK" || exit 1
# The user's own preferences and data folder stay out of the tests.
export QDSYSTEM_SETTINGS="$WORK/preferences.ini" QDSYSTEM_DATA="$WORK/data"

failures=0
passes=0
check() {  # check NAME COMMAND...: the command must succeed
  local name=$1
  shift
  if "$@"; then passes=$((passes + 1)); else echo "FAIL: $name"; failures=$((failures + 1)); fi
}
finish() {  # the closing line, and the exit status
  echo "$passes passed, $failures failed"
  [[ $failures -eq 0 ]]
}

# Starts the simulator with its bus on ./bus and the given options; waits (bounded) for the link.
start_bus_sim() {
  rm -f bus sim.out
  "$SIM" --link "$WORK/bus" --clock off "$@" >sim.out 2>sim.err &
  SIM_PID=$!
  for _ in $(seq 100); do
    [[ -L bus ]] && grep -q '^pty: ' sim.out && return 0
    sleep 0.05
  done
  echo "simulator did not start: $(cat sim.err)"
  return 1
}
# Starts the simulator as the gateway server on a free loopback port with the given options; GW is then
# HOST:PORT.
start_gateway_sim() {
  rm -f sim.out
  "$SIM" --clock off --gateway 0 "$@" >sim.out 2>sim.err &
  SIM_PID=$!
  for _ in $(seq 100); do
    GW=$(sed -n 's/^gateway: //p' sim.out)
    [[ -n $GW ]] && return 0
    sleep 0.05
  done
  echo "simulator did not start: $(cat sim.err)"
  return 1
}
stop_sim() {  # ends the simulator; its dump files are then written
  kill -TERM "$SIM_PID" 2>/dev/null
  wait "$SIM_PID" 2>/dev/null
  SIM_PID=""
}
# json_table NAME FILE: the file holds one JSON object, and each line "LABEL<TAB>JQ FILTER" read from
# standard input is true of it.
json_table() {
  local name=$1 file=$2 label filter
  if ! jq -e -s 'length == 1 and (.[0] | type) == "object"' "$file" >/dev/null 2>&1; then
    echo "FAIL: $name: not one JSON object:"
    head -c 400 "$file"
    echo
    failures=$((failures + 1))
    return
  fi
  passes=$((passes + 1))
  while IFS=$'\t' read -r label filter; do
    if jq -e "$filter" "$file" >/dev/null 2>&1; then passes=$((passes + 1)); else
      echo "FAIL: $name: $label: $filter"
      failures=$((failures + 1))
    fi
  done
}
# json_fails NAME STATUS ARGS...: qdtool ARGS... ends with the status, says why on standard error and
# prints nothing on standard output.
json_fails() {
  local name=$1 expected=$2
  shift 2
  "$QDTOOL" "$@" >fail.out 2>fail.err
  local got=$?
  if [[ $got -eq $expected && ! -s fail.out && -s fail.err ]]; then passes=$((passes + 1)); else
    echo "FAIL: $name: exit $got (not $expected), $(wc -c <fail.out) bytes on standard output"
    failures=$((failures + 1))
  fi
}
put() {  # put FILE OFFSET BYTE...: write bytes (decimal values) at an offset
  local file=$1 offset=$2
  shift 2
  local hex=""
  for b in "$@"; do hex+=$(printf '\\x%02x' "$b"); done
  printf "$hex" | dd of="$file" bs=1 seek="$offset" conv=notrunc status=none
}
put16() {  # put16 FILE OFFSET VALUE: a little-endian 16-bit number
  put "$1" "$2" $(($3 & 255)) $(($3 >> 8 & 255))
}
