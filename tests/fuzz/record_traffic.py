#!/usr/bin/env python3
"""Records what qd310sim sends while qdtool talks to it, as seed inputs of the fuzz targets.

  record_traffic.py bus SIM QDTOOL OUT OPTION_HEX MAX_BYTES [SIM_ARGS...] -- QDTOOL_ARGS...
  record_traffic.py gateway SIM QDTOOL OUT OPTION_HEX MAX_BYTES [SIM_ARGS...] -- QDTOOL_ARGS...

bus: qdtool gets a pseudo-terminal of our own (its path replaces @PORT in its arguments); the bytes go
back and forth between it and the simulator's, and those the simulator sent are recorded.
gateway: qdtool connects to a TCP relay (@GATEWAY in its arguments) in front of the simulator's gateway;
the bytes the gateway sent are recorded.
OUT gets the option byte, then the recorded bytes, cut at MAX_BYTES in all.
"""
import os
import select
import socket
import subprocess
import sys
import termios
import time
import tty

TIMEOUT_S = 60


def start_simulator(sim, sim_args, gateway):
    args = [sim, "--no-pacing"] + sim_args + (["--gateway", "0"] if gateway else [])
    proc = subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    pty_path = gateway_address = None
    while pty_path is None or (gateway and gateway_address is None):
        line = proc.stdout.readline()
        if not line:
            raise SystemExit("qd310sim ended before it was ready: " + " ".join(args))
        if line.startswith("pty: "):
            pty_path = line[5:].strip()
        if line.startswith("gateway: "):
            gateway_address = line[9:].strip()
    return proc, pty_path, gateway_address


def stop(proc):
    if proc.poll() is None:
        proc.terminate()
        try:
            proc.wait(5)
        except subprocess.TimeoutExpired:
            proc.kill()


def relay(pairs, tool, recorded, limit):
    """Moves bytes between the (a, b) descriptor pairs until the tool ends; records what b sent."""
    deadline = time.monotonic() + TIMEOUT_S
    while tool.poll() is None and time.monotonic() < deadline:
        fds = [fd for pair in pairs for fd in pair]
        ready, _, _ = select.select(fds, [], [], 0.05)
        for a, b in pairs:
            for src, dst in ((a, b), (b, a)):
                if src not in ready:
                    continue
                try:
                    data = os.read(src, 4096)
                except OSError:
                    data = b""
                if not data:
                    continue
                if src == b and len(recorded) < limit:
                    recorded.extend(data[: limit - len(recorded)])
                try:
                    os.write(dst, data)
                except OSError:
                    pass
    stop(tool)


def record_bus(sim, qdtool, sim_args, tool_args, limit):
    proc, pty_path, _ = start_simulator(sim, sim_args, False)
    recorded = bytearray()
    try:
        sim_fd = os.open(pty_path, os.O_RDWR | os.O_NOCTTY | os.O_NONBLOCK)
        tty.setraw(sim_fd, termios.TCSANOW)
        master, slave = os.openpty()
        tty.setraw(slave, termios.TCSANOW)
        os.set_blocking(master, False)
        port = os.ttyname(slave)
        tool = subprocess.Popen([qdtool] + [a.replace("@PORT", port) for a in tool_args],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        relay([(master, sim_fd)], tool, recorded, limit)
        for fd in (sim_fd, master, slave):
            os.close(fd)
    finally:
        stop(proc)
    return recorded


def record_gateway(sim, qdtool, sim_args, tool_args, limit):
    proc, _, gateway_address = start_simulator(sim, sim_args, True)
    recorded = bytearray()
    try:
        host, port = gateway_address.rsplit(":", 1)
        listener = socket.socket()
        listener.bind(("127.0.0.1", 0))
        listener.listen(1)
        relay_address = "127.0.0.1:%d" % listener.getsockname()[1]
        tool = subprocess.Popen([qdtool] + [a.replace("@GATEWAY", relay_address) for a in tool_args],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        listener.settimeout(TIMEOUT_S)
        client, _ = listener.accept()
        server = socket.create_connection((host, int(port)))
        relay([(client.fileno(), server.fileno())], tool, recorded, limit)
        for s in (client, server, listener):
            s.close()
    finally:
        stop(proc)
    return recorded


def main(argv):
    mode, sim, qdtool, out, option, limit = argv[1:7]
    rest = argv[7:]
    split = rest.index("--")
    sim_args = rest[:split]
    tool_args = rest[split + 1 :]
    record = record_bus if mode == "bus" else record_gateway
    recorded = record(sim, qdtool, sim_args, tool_args, int(limit) - 1)
    with open(out, "wb") as f:
        f.write(bytes([int(option, 16)]) + recorded)
    print("%s: %d bytes" % (out, len(recorded) + 1))


if __name__ == "__main__":
    main(sys.argv)
