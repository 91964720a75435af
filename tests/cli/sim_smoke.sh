#!/usr/bin/env bash
# qd310sim on a real pseudo-terminal: the link appears, a small PC speaks the bus protocol with it
# (resynchronisation, a memory read, an idle answer and its status), trigger reports are overheard,
# and SIGTERM ends it cleanly with the link gone and the memory dumped.
# usage: sim_smoke.sh QDTOOL DATA_DIR   (qd310sim is found next to qdtool)
source "$(dirname "$0")/lib/common.sh"

# --help and a refused command line
check "help" "$SIM" --help >/dev/null
"$SIM" --fault flood >/dev/null 2>err.txt
check "usage error status" test $? -eq 2
check "usage error line" grep -q "^qd310sim: --fault: unknown fault 'flood'" err.txt

mkfifo sim.out
"$SIM" --link "$WORK/bus" --system "$DATA/sample_system.xml" --serial 4711 --clock "2024-02-29 13:14:15" \
  --trigger 2:qd520 --answer-timeout 200 --verbose --dump-memory "$WORK/dump.bin" >sim.out 2>sim.err &
SIM_PID=$!
exec 3<sim.out
line=""
read -r -t 10 line <&3
check "pty line" grep -Eq '^pty: /dev/pts/[0-9]+$' <<<"$line"
check "link to the pty" test "$(readlink "$WORK/bus")" = "${line#pty: }"

python3 - "$WORK/bus" <<'PY'
import os, select, sys, termios, time, tty

fd = os.open(sys.argv[1], os.O_RDWR | os.O_NOCTTY)
tty.setraw(fd)
deadline = time.monotonic() + 10

def fail(reason):
    print("FAIL: " + reason)
    sys.exit(1)

def frame(payload):
    payload = bytearray(payload)
    payload[1] = len(payload)
    payload[5] = 0
    payload[5] = ~sum(payload) & 0xFF
    out = bytearray([0x02])
    for b in payload:
        out += bytes([0x10, b ^ 0x20]) if b in (0x02, 0x03, 0x10, 0x15, 0x16) else bytes([b])
    return bytes(out + b"\x03")

def frames():
    body, inside, escape = bytearray(), False, False
    while True:
        left = deadline - time.monotonic()
        if left <= 0 or not select.select([fd], [], [], left)[0]:
            fail("no frame within the deadline")
        for b in os.read(fd, 4096):
            if escape:
                body.append(b ^ 0x20); escape = False
            elif b == 0x02:
                body, inside = bytearray(), True
            elif not inside:
                continue
            elif b == 0x03:
                inside = False
                if len(body) >= 6:
                    if sum(body) & 0xFF != 0xFF:
                        fail("bad checksum: " + body.hex())
                    yield bytes(body)
            elif b == 0x10:
                escape = True
            else:
                body.append(b)

# A PC as the bus wants it: it answers only in-sequence frames to address 2, answers anything else
# with a resynchronisation, and starts over with its request after one.
sequence, stage, triggers = 0, 0, 0
for body in frames():
    command, seq, dest, src = body[0], body[2], body[3], body[4]
    if dest == 1 and src == 4 and command in (2, 3):
        triggers += 1
    if dest != 2:
        continue
    if src != 1:
        fail("frame to the PC from %d" % src)
    if seq == 0 or seq != sequence:
        os.write(fd, frame([0x41, 0, 0, 1, 2, 0]))
        sequence, stage = 1, stage & ~1
        continue
    if stage == 0 and command == 0x40:
        os.write(fd, frame([0x44, 0, sequence, 1, 2, 0, 6, 0x6F, 0x00]))  # the controller clock
        sequence, stage = sequence % 255 + 1, 1
    elif stage == 1 and command == 0x45:
        if len(body) != 15 or body[6:9] != bytes([6, 0x6F, 0]):
            fail("memory data " + body.hex())
        if body[11:15] != bytes([13, 29, 2, 24]):  # hour, day, month, year - 2000
            fail("clock " + body[9:15].hex())
        stage = 2  # nothing to say: the next poll carries the same number
    elif stage == 2 and command == 0x40:
        os.write(fd, frame([0x42, 0, sequence, 1, 2, 0, 0, 0, 0, 0, 0, 0]))
        sequence, stage = sequence % 255 + 1, 3
    elif stage == 3 and command == 0x43:
        if len(body) != 64 or body[1] != 64:
            fail("status of %d bytes" % len(body))
        stage = 4
    if stage == 4 and triggers > 0:
        break
os.close(fd)
PY
check "protocol with a small PC" test $? -eq 0

kill -TERM "$SIM_PID"
if timeout 10 tail --pid="$SIM_PID" -f /dev/null; then
  wait "$SIM_PID"
  status=$?
else
  kill -KILL "$SIM_PID"
  status="still running"
fi
SIM_PID=""
check "clean exit on SIGTERM" test "$status" = 0
check "link removed" test ! -e "$WORK/bus" -a ! -L "$WORK/bus"
check "memory dumped" test "$(stat -c %s dump.bin 2>/dev/null)" = 32768

# The dump is the system file's image with the controller's identity and running clock.
"$QDTOOL" convert "$DATA/sample_system.xml" built.bin --build-time "2000-01-01 00:00:00"
check "dump holds the system" python3 - dump.bin built.bin <<'PY'
import sys
dump, built = (open(name, "rb").read() for name in sys.argv[1:3])
assert dump[:7] == b"QD310\x01\x01", dump[:7]
assert dump[0x0A:0x0E] == (4711).to_bytes(4, "little"), dump[0x0A:0x0E]
assert dump[0x72:0x75] == bytes([29, 2, 24]), dump[0x6F:0x75]
differ = [i for i in range(32, 32768) if dump[i] != built[i] and not 0x6F <= i < 0x75]
assert not differ, differ[:10]
PY

if [ "$failures" -ne 0 ]; then cat sim.err >&2; fi
finish
