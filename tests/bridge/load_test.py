# SPDX-License-Identifier: Apache-2.0
"""vantix-bridge under load, on the loopback interface, for a few seconds:
16 clients, each with a virtual pad of its own (--sim-pads 16). One floods:
signature renders and pad opens and closes as fast as the rate limit lets
it, answers unread until it is done. The 15 others list the pads and move
their pen, and measure how long the list takes and how long a pen sample
takes from the virtual pad to them. The figures are printed, not
asserted; what is asserted is a generous bound: every pads.list is
answered, within 5 s, and every pen sample arrives. The service's memory
before and after is printed too.

    VANTIX_BRIDGE=build/tools/vantix-bridge/vantix-bridge python3 load_test.py [--seconds 4]
"""
import argparse
import json
import statistics
import sys
import threading
import time

import websocket  # python3-websocket

from bridge_process import Bridge, program_from_env

CLIENTS = 16
LIST_BOUND = 5.0  # seconds: no pads.list may take longer (docs/bridge-protocol.md, Figures)


def connect(bridge):
    ws = websocket.create_connection(bridge.ws_url, timeout=30)
    assert json.loads(ws.recv())["type"] == "welcome"
    return ws


def reply_to(ws, message, on_event=None):
    ws.send(json.dumps(message))
    while True:
        reply = json.loads(ws.recv())
        if reply.get("id") == message["id"]:
            return reply
        if on_event:
            on_event(reply)


def open_pad(ws, path):
    deadline = time.monotonic() + 10
    while True:
        reply = reply_to(ws, {"type": "pad.open", "path": path, "id": "open"})
        if reply["type"] == "opened" or time.monotonic() > deadline:
            return reply
        time.sleep(0.05)


class Flooder(threading.Thread):
    """Renders and opens/closes its pad as fast as allowed; counts the answers."""

    def __init__(self, bridge, seconds):
        super().__init__(daemon=True)
        self.bridge, self.seconds = bridge, seconds
        self.sent, self.answers, self.error = 0, {}, None

    def run(self):
        try:
            ws = connect(self.bridge)
            assert open_pad(ws, "sim:0")["type"] == "opened"
            reply_to(ws, {"type": "capture.start", "id": "start"})
            points = [[10 + (i * 37) % 220, 5 + (i * 11) % 40] for i in range(200)]
            reply_to(ws, {"type": "sim.stroke", "points": points, "id": "stroke"})
            done = threading.Event()

            def read():
                while not done.is_set() or self.sent > sum(self.answers.values()):
                    try:
                        message = json.loads(ws.recv())
                    except (websocket.WebSocketTimeoutException, websocket.WebSocketConnectionClosedException):
                        return
                    if "id" in message:
                        key = message.get("code", message["type"])
                        self.answers[key] = self.answers.get(key, 0) + 1

            reader = threading.Thread(target=read, daemon=True)
            reader.start()
            end = time.monotonic() + self.seconds
            i = 0
            while time.monotonic() < end and i < 5000:
                if i % 20 == 18:
                    message = {"type": "pad.close"}
                elif i % 20 == 19:
                    message = {"type": "pad.open", "path": "sim:0"}
                else:
                    message = {"type": "capture.finish", "formats": ["png", "svg"], "width": 2048,
                               "height": 2048, "line_width": 8}
                ws.send(json.dumps(dict(message, id=i)))
                self.sent += 1
                i += 1
                time.sleep(1 / 150)  # under the rate limit (200 a second)
            done.set()
            reader.join(60)
            ws.close()
        except Exception as e:  # reported by the main thread
            self.error = e


class Client(threading.Thread):
    """Lists the pads and moves the pen of its own pad, timing both."""

    def __init__(self, bridge, index, seconds):
        super().__init__(daemon=True)
        self.bridge, self.index, self.seconds = bridge, index, seconds
        self.list_times, self.sample_times, self.lost, self.error = [], [], 0, None

    def run(self):
        try:
            ws = connect(self.bridge)
            path = f"sim:{self.index}"
            assert open_pad(ws, path)["type"] == "opened", path
            reply_to(ws, {"type": "capture.start", "id": "start"})
            arrived = {}

            def on_event(message):
                if message["type"] == "sample":
                    arrived[(message["x"], message["y"], message["down"])] = time.time() * 1e6

            end = time.monotonic() + self.seconds
            i = 0
            while time.monotonic() < end and i < 2000:
                start = time.monotonic()
                listed = reply_to(ws, {"type": "pads.list", "id": f"list-{i}"}, on_event)
                self.list_times.append(time.monotonic() - start)
                assert listed["type"] == "pads", listed
                x, y, down = 20 + i % 200, 10 + i % 30, i % 8 != 7
                done = reply_to(ws, {"type": "sim.pen", "x": x, "y": y, "down": down, "space": "display",
                                     "id": f"pen-{i}"}, on_event)
                sent = done["sent"][0]
                deadline = time.monotonic() + 5
                ws.settimeout(0.5)
                while not any(k[2] == down for k in arrived) and time.monotonic() < deadline:
                    try:
                        on_event(json.loads(ws.recv()))
                    except websocket.WebSocketTimeoutException:
                        pass
                ws.settimeout(30)
                key = next((k for k in arrived if k[2] == down), None)
                if key is None:
                    self.lost += 1
                else:
                    self.sample_times.append((arrived[key] - sent) / 1e6)
                arrived.clear()
                i += 1
                time.sleep(0.01)
            ws.close()
        except Exception as e:  # reported by the main thread
            self.error = e


def percentiles(values):
    if not values:
        return "none"
    ordered = sorted(values)
    p99 = ordered[min(len(ordered) - 1, int(len(ordered) * 0.99))]
    return (f"n {len(values)}, p50 {statistics.median(ordered) * 1000:.1f} ms, "
            f"p99 {p99 * 1000:.1f} ms, max {ordered[-1] * 1000:.1f} ms")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--seconds", type=float, default=4.0)
    args = parser.parse_args()
    with Bridge(program_from_env(), "--sim-pads", str(CLIENTS), "--max-connections", str(CLIENTS + 4)) as bridge:
        before = bridge.rss_mb()
        flooder = Flooder(bridge, args.seconds)
        clients = [Client(bridge, i, args.seconds) for i in range(1, CLIENTS)]
        flooder.start()
        for c in clients:
            c.start()
        for c in clients:
            c.join(args.seconds + 60)
        flooder.join(args.seconds + 90)
        after = bridge.rss_mb()
        failures = [f"client {c.index}: {c.error!r}" for c in clients if c.error or c.is_alive()]
        if flooder.error or flooder.is_alive():
            failures.append(f"flooder: {flooder.error!r}")
        lists = [t for c in clients for t in c.list_times]
        samples = [t for c in clients for t in c.sample_times]
        lost = sum(c.lost for c in clients)
        print(f"{CLIENTS} clients for {args.seconds:.0f} s, one flooding renders and opens "
              f"({flooder.sent} requests, answered {dict(sorted(flooder.answers.items()))})")
        print(f"pads.list of the 15 others: {percentiles(lists)}")
        print(f"pen sample, virtual pad to client: {percentiles(samples)}; lost {lost}")
        print(f"service RSS: {before:.0f} MB before, {after:.0f} MB after")
        if lists and max(lists) > LIST_BOUND:
            failures.append(f"a pads.list took {max(lists):.1f} s (bound {LIST_BOUND} s)")
        if not lists or not samples:
            failures.append("no figures")
        if lost:
            failures.append(f"{lost} pen samples never arrived")
        if not bridge.alive():
            failures.append("the service ended")
    if failures:
        print("FAILED: " + "; ".join(failures))
        return 1
    print("1 passed, 0 failed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
