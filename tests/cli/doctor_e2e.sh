#!/usr/bin/env bash
# qdtool doctor against the simulated dosing system: a pseudo-terminal with frames on it, one held by
# another program, a silent controller, a path that leads nowhere; the simulator's gateway and a port
# nobody listens on. Also the shipped udev rule's syntax.
# usage: doctor_e2e.sh QDTOOL DATA_DIR
source "$(dirname "$0")/lib/common.sh"
RULE="$(dirname "$0")/../../dist/linux/60-qdsystem-ftdi.rules"

# Runs the doctor with ARGS, keeping its output in out.txt and its exit status in $status.
doctor() {
  "$QDTOOL" doctor "$@" >out.txt 2>err.txt
  status=$?
}
# The simulator's gateway address, once it reported one.
gateway_address() {
  for _ in $(seq 100); do
    grep -q '^gateway: ' sim.out && { sed -n 's/^gateway: //p' sim.out; return 0; }
    sleep 0.05
  done
  return 1
}

"$QDTOOL" doctor --help >out.txt
check "help" grep -q -- "--listen MS" out.txt
check "overview lists doctor" grep -q "^  doctor " <("$QDTOOL" --help)
for bad in "--listen 0" "--listen x" "--gateway :0" "--port=" "extra"; do
  # shellcheck disable=SC2086
  doctor $bad
  check "usage error exits 2: $bad" test "$status" -eq 2
done

# Frames from the controller, and a gateway that accepts.
start_bus_sim --gateway 0
gateway=$(gateway_address)
check "gateway line" test -n "$gateway"
doctor --port ./bus --listen 400
check "frames heard: exit 0" test "$status" -eq 0
check "port opens" grep -qx "ok: $WORK/bus: can be opened" out.txt
check "frames counted" grep -Eqx "ok: $WORK/bus: frames from the controller: [1-9][0-9]* in 0.4 s" out.txt
check "only ok lines" test "$(grep -cv '^ok: ' out.txt)" -eq 0
doctor --gateway "$gateway"
check "gateway accepts: exit 0" test "$status" -eq 0
check "gateway line ok" grep -qx "ok: $gateway: the gateway accepts connections" out.txt

# Another program holds the port.
"$QDTOOL" monitor --port ./bus --seconds 60 >/dev/null 2>&1 &
holder=$!
for _ in $(seq 100); do
  ls -l "/proc/$holder/fd" 2>/dev/null | grep -q "$(readlink bus)" && break
  sleep 0.05
done
doctor --port ./bus --listen 100 --gateway "$gateway"
check "held port: exit 1" test "$status" -eq 1
check "holder named" grep -qx "problem: $WORK/bus: held by qdtool (pid $holder): close that program" out.txt
check "no listening on a held port" test "$(grep -c 'frames' out.txt)" -eq 0
check "gateway still checked" grep -q "^ok: $gateway: " out.txt
kill "$holder"
wait "$holder" 2>/dev/null
stop_sim

# A controller that says nothing.
start_bus_sim --fault silence:5000
doctor --port ./bus --listen 300
check "silence: exit 1" test "$status" -eq 1
check "silence told" grep -qx "problem: $WORK/bus: no frames from the controller within 0.3 s: check the bus wiring and that the controller is on" out.txt
stop_sim

# Nothing at the path; nothing listening on the port.
doctor --port ./bus --listen 100
check "missing device: exit 1" test "$status" -eq 1
check "missing device told" grep -qx "problem: $WORK/bus: no such device: check the name; 'qdtool ports --details' lists serial ports" out.txt
free_port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
doctor --gateway "127.0.0.1:$free_port"
check "refused: exit 1" test "$status" -eq 1
check "refused told" grep -q "^problem: 127.0.0.1:$free_port: refused: " out.txt

# Without options the system's FTDI adapters are checked; on a machine without any that is the finding.
if ! compgen -G "/sys/bus/usb-serial/devices/*" >/dev/null; then
  doctor --listen 100
  check "no adapter: exit 1" test "$status" -eq 1
  check "no adapter told" grep -qx "problem: no USB serial adapter found: plug the adapter in; 'qdtool ports --details' lists serial ports" out.txt
fi

# The udev rule: udevadm's own check where it has one, else every line a comment or KEY op "VALUE" pairs.
if udevadm verify --help >/dev/null 2>&1; then
  check "udev rule verifies" udevadm verify "$RULE"
else
  check "udev rule syntax" python3 - "$RULE" <<'PY'
import re, sys
pair = r'[A-Za-z_]+(\{[A-Za-z0-9_]+\})?\s*(==|!=|=|\+=|-=|:=)\s*"[^"]*"'
line_re = re.compile(r'^\s*' + pair + r'(\s*,\s*' + pair + r')*\s*$')
text = open(sys.argv[1]).read()
rules = [l for l in text.splitlines() if l.strip() and not l.lstrip().startswith("#")]
assert rules and all(line_re.match(l) for l in rules), rules
assert any('ATTRS{idVendor}=="0403"' in l and 'GROUP="dialout"' in l and 'MODE="0660"' in l
           and 'ENV{ID_MM_DEVICE_IGNORE}="1"' in l for l in rules)
assert any('ATTR{latency_timer}="1"' in l for l in rules)
PY
fi

finish
