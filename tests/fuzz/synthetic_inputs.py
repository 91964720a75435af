#!/usr/bin/env python3
"""Writes the seed inputs that recorded traffic does not give: replies the simulator sends only on
requests qdtool never makes, other forms of the status frame, broken frames, and gateway messages of
the refusals and faults.

  synthetic_inputs.py CORPUS_DIR   (writes into CORPUS_DIR/bus_fuzz and CORPUS_DIR/gateway_fuzz)
"""
import os
import sys

STUFFED = {0x02, 0x03, 0x10, 0x15, 0x16}


def frame(body):
    out = bytearray([0x02])
    for b in body:
        out += bytes([0x10, b ^ 0x20]) if b in STUFFED else bytes([b])
    return bytes(out + b"\x03")


def checksum(data):
    return (0xFF - sum(data)) & 0xFF


def bus(command, data=b"", seq=1, dest=2, src=1):
    payload = bytearray([command, 6 + len(data), seq, dest, src, 0]) + bytes(data)
    payload[5] = checksum(payload)
    return frame(payload)


def gateway(message):
    return frame(bytes(message) + bytes([checksum(message)]))


def text(*parts):
    return b"".join(p.encode("latin-1") + b"\0" for p in parts)


# The first frame resynchronises the PC; frames with sequence 1 then reach the dispatch.
START = bus(0x40, seq=0)


def machine_records(size, count):
    return bytes((m * 37 + i * 11 + 1) & 0xFF for m in range(count) for i in range(size))


def bus_inputs():
    status64 = bytes([0x55, 0, 0x07, 0x1C, 0, 0, 0, 0]) + machine_records(5, 10)
    status44 = bytes([0x21, 0, 0xFF, 0x0C, 0, 0, 0, 0]) + machine_records(3, 10)
    monitor = bytes([0x13, 0, 0x04, 0xB7, 0x11, 0, 0, 0, 7, 1, 2, 3, 4, 0x5A])
    trigger3 = bytes([0x25, 0, 75, 0x31, 0x21, 4])
    yield "status_forms", 0x40, START + bus(0x43, status64) + bus(0x43, status44) + bus(0x43, status64[:20])
    yield "status_not_shown", 0x00, START + bus(0x43, status64)
    yield "monitor_reply", 0x60, START + bus(0x51, monitor) + bus(0x51, monitor[:5]) + bus(0x40)
    yield "log_confirmations", 0x40, START + bus(0x4A) + bus(0x4C) + bus(0x40)
    yield "trigger_reports", 0x40, b"".join(
        bus(cmd, trigger3[: 3 + extra], seq=5, dest=1, src=3 + m) for m in range(10) for cmd, extra in
        ((2, 0), (3, 3), (3, 1)))
    yield "reset_request", 0xC0, START + bus(0x40) + bus(0x40, seq=2) + bus(0x40, seq=3)
    yield "bad_checksum", 0x40, START + frame(bytes([0x43, 6, 1, 2, 1, 0])) + frame(b"\x01") + bus(0x40)
    yield "overlong_frame", 0x40, START + b"\x02" + bytes(1100) + b"\x03" + bus(0x40)
    yield "escapes", 0x40, START + b"\x02\x10\x10\x10\x02\x03\x10\x03" + bus(0x40)
    yield "loader_bytes", 0x48, START + bus(0x40) + bytes([0x16, 0x06, 0x06, 0x06, 0x06, 0x17])
    yield "loader_checksum", 0x58, START + bus(0x40) + bytes([0x16, 0x06, 0x06, 0x15])
    yield "login_check", 0x01, START + bus(0x40) + bus(0x45, bytes([10, 0x26, 0x02]) + b"KMWPLTRS\0\0", seq=2)
    yield "login_check_wrong", 0x01, START + bus(0x40) + bus(0x45, bytes([10, 0x26, 0x02]) + b"XXXX\0\0\0\0\0\0",
                                                         seq=2)
    yield "write_confirms", 0x46, START + bus(0x40) + b"".join(
        bus(0x47, bytes([128, (32 + 128 * k) & 0xFF, (32 + 128 * k) >> 8]), seq=2 + k) for k in range(6))


def status_message(size):
    head = bytes([ord("C"), ord("X"), 0x15, 0, 0x03, 0x1C]) + bytes(10)
    return (head + machine_records(10, 10))[:size]


def gateway_inputs():
    login_list = (gateway(b"BD" + text("310001", "Laundry", "-", "127.0.0.1")) +
                  gateway(b"BD" + text("310002", "Other", "busy", "10.0.0.2")) + gateway(b"BD" + text("")))
    accepted = gateway(b"BE\0" + text("310001", "A")) + gateway(b"BF" + text("127.0.0.1"))
    yield "refused", 0x04, gateway(b"BI") * 5
    yield "system_list", 0x20, login_list + accepted + gateway(status_message(116)) + gateway(status_message(40))
    yield "chosen_by_serial", 0x28, login_list + accepted + gateway(b"C!") + gateway(b"C#") + gateway(b"C%") + \
        gateway(b"C&")
    yield "not_found", 0x00, login_list + gateway(b"BE\x01") + gateway(b"BE\x02") + gateway(b"BE")
    yield "read_only_offline", 0x30, login_list + gateway(b"BE\0" + text("310001", "B")) + gateway(b"BFOffline")
    yield "bad_connect_result", 0x00, login_list + gateway(b"BE\0" + text("3100011111111111111111111", "AAAAAAAAAAA"))
    yield "overlong_list_texts", 0x00, gateway(b"BD" + b"9" * 150 + b"\0") + gateway(b"BD" + text("1") + b"x" * 300)
    yield "read_blocks", 0x01, login_list + accepted + gateway(b"BH\0\0\x08\0" + bytes(8)) + \
        gateway(b"BH\x08\0\xff\xff" + bytes(4))
    yield "write_result", 0x02, login_list + accepted + gateway(b"CS\x12\x34") + gateway(b"CS")
    yield "garbage", 0x3F, b"\x03\x10\x02\x10\x02\x03" + b"\x02" + bytes(2100) + b"\x03" + gateway(b"B")


def main(corpus):
    for harness, inputs in (("bus_fuzz", bus_inputs()), ("gateway_fuzz", gateway_inputs())):
        os.makedirs(os.path.join(corpus, harness), exist_ok=True)
        for name, option, stream in inputs:
            with open(os.path.join(corpus, harness, "synthetic_" + name), "wb") as f:
                f.write(bytes([option]) + stream)


if __name__ == "__main__":
    main(sys.argv[1])
