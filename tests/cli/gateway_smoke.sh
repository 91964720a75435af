#!/usr/bin/env bash
# qd310sim as the gateway server on a free loopback port, with the bus running beside it: a first read
# is cut off by a fault after two blocks, then a small PC logs in (refused once), gets the list,
# connects, reads the memory in blocks, asks for the status, writes a block and has it confirmed; a
# second PC finds the system in use. SIGTERM ends it cleanly with the written block in the dumped memory.
# usage: gateway_smoke.sh QDTOOL DATA_DIR   (qd310sim is found next to qdtool)
source "$(dirname "$0")/lib/common.sh"

"$SIM" --gateway-user x:y >/dev/null 2>err.txt
check "gateway options want a port" test $? -eq 2
"$SIM" --gateway 0 --gateway-fault drop-write:0 >/dev/null 2>err.txt
check "usage error line" grep -q "^qd310sim: --gateway-fault: drop-write wants" err.txt

mkfifo sim.out
"$SIM" --gateway 0 --system "$DATA/sample_system.xml" --serial 4711 --clock "2024-02-29 13:14:15" \
  --gateway-system "99:Other laundry:-:Offline" --gateway-system "4711::-:127.0.0.1" --gateway-fault drop-read:2 \
  --no-pacing --verbose \
  --dump-memory "$WORK/dump.bin" >sim.out 2>sim.err &
SIM_PID=$!
exec 3<sim.out
line=""
read -r -t 10 line <&3
check "pty line" grep -Eq '^pty: /dev/pts/[0-9]+$' <<<"$line"
gateway=""
read -r -t 10 gateway <&3
check "gateway line" grep -Eq '^gateway: 127\.0\.0\.1:[0-9]+$' <<<"$gateway"
port=${gateway##*:}

python3 - "$port" <<'PY'
import select, socket, struct, sys, time

deadline = time.monotonic() + 10

def fail(reason):
    print("FAIL: " + reason)
    sys.exit(1)

def frame(message):
    body = bytes(message) + bytes([~sum(message) & 0xFF])
    out = bytearray([0x02])
    for b in body:
        out += bytes([0x10, b ^ 0x20]) if b in (0x02, 0x03, 0x10, 0x15, 0x16) else bytes([b])
    return bytes(out + b"\x03")

class Pc:
    def __init__(self, port):
        self.sock = socket.create_connection(("127.0.0.1", port), timeout=5)
        self.body, self.inside, self.escape, self.waiting = bytearray(), False, False, []

    def send(self, message):
        self.sock.sendall(frame(message))

    def receive(self, until_closed=False):
        while not self.waiting:
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([self.sock], [], [], left)[0]:
                fail("no message within the deadline")
            data = self.sock.recv(65536)
            if not data:
                if until_closed:
                    return None
                fail("connection closed")
            for b in data:
                if self.escape:
                    self.body.append(b ^ 0x20); self.escape = False
                elif b == 0x02:
                    self.body, self.inside = bytearray(), True
                elif not self.inside:
                    continue
                elif b == 0x03:
                    self.inside = False
                    if len(self.body) > 2:
                        if sum(self.body) & 0xFF != 0xFF:
                            fail("bad checksum: " + self.body.hex())
                        self.waiting.append(bytes(self.body[:-1]))
                elif b == 0x10:
                    self.escape = True
                else:
                    self.body.append(b)
        return self.waiting.pop(0)

    def expect(self, head):
        message = self.receive()
        if message[:len(head)] != head:
            fail("expected %r, got %r" % (head, message[:40]))
        return message

def texts(message):
    return message[2:].split(b"\0")

port = int(sys.argv[1])

# The fault: the first read ends the connection after two blocks, which frees the system again.
cut = Pc(port)
cut.send(b"A@service\0secret\0")
while texts(cut.expect(b"BD"))[0] != b"":
    pass
cut.send(b"AB4711\0")
cut.expect(b"BE\0")
cut.expect(b"BF")
cut.send(b"AC")
offsets = []
while (block := cut.receive(until_closed=True)) is not None:
    offsets.append(struct.unpack_from("<H", block, 2)[0])
if offsets != [0, 1000]:
    fail("cut read gave blocks at %r" % offsets)

pc = Pc(port)
pc.send(b"A@service\0wrong\0")
pc.expect(b"BI")
pc.send(b"A@service\0secret\0")
entries = []
while True:
    entry = texts(pc.expect(b"BD"))
    if entry[0] == b"":
        break
    entries.append(entry[:4])
if len(entries) != 2 or entries[0] != [b"99", b"Other laundry", b"-", b"Offline"]:
    fail("list %r" % entries)
if entries[1][0] != b"4711" or entries[1][2:] != [b"-", b"127.0.0.1"] or not entries[1][1]:
    fail("simulated entry %r" % entries[1])

pc.send(b"AB4711\0")
if pc.expect(b"BE") != b"BE\x004711\0A\0":
    fail("connect result")
if pc.expect(b"BF") != b"BF127.0.0.1\0":
    fail("address")

pc.send(b"AC")
memory = bytearray()
while len(memory) < 32768:
    block = pc.expect(b"BH")
    offset, count = struct.unpack_from("<HH", block, 2)
    if offset != len(memory) or count != len(block) - 6 or count > 1000:
        fail("block at %d of %d bytes after %d" % (offset, count, len(memory)))
    memory += block[6:]
if memory[:5] != b"QD310" or memory[0x0A:0x0E] != (4711).to_bytes(4, "little"):
    fail("memory header " + memory[:16].hex())
if memory[0x72:0x75] != bytes([29, 2, 24]):
    fail("clock " + memory[0x6F:0x75].hex())
if memory[0x20:0x49].split(b"\0")[0] != entries[1][1]:
    fail("listed name %r is not the one in memory" % entries[1][1])

pc.send(bytes([0, ord("X"), 0x1E, 0]))
status = pc.expect(b"CX")
if len(status) != 116:
    fail("status of %d bytes" % len(status))

name = b"Gateway \x02\x03\x10 test\0"
pc.send(bytes([0, ord("Q"), 0x20, 0, len(name)]) + name)
pc.send(bytes([0, ord("S"), 0, 0]))
if pc.expect(b"CS") != b"CS" + struct.pack("<H", sum(name) & 0xFFFF):
    fail("write sum")

other = Pc(port)
other.send(b"A@service\0secret\0")
listed = []
while True:
    entry = texts(other.expect(b"BD"))
    if entry[0] == b"":
        break
    listed.append(entry[:4])
if listed[1][2] != b"service":
    fail("in use by %r" % listed[1][2])
other.send(b"AB4711\0")
if other.expect(b"BE") != b"BE\x02":
    fail("not in use")
PY
check "gateway session with a small PC" test $? -eq 0
check "gateway log" grep -q "gw1 rx 'A','@' login user=service" sim.err

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
check "written block in the memory" python3 - dump.bin <<'PY'
import sys
dump = open(sys.argv[1], "rb").read()
assert dump[0x20:0x31] == b"Gateway \x02\x03\x10 test\0", dump[0x20:0x40]
PY

if [ "$failures" -ne 0 ]; then cat sim.err >&2; fi
finish
