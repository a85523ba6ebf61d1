# SPDX-License-Identifier: Apache-2.0
"""Pads that come and go while pages are connected: the virtual pad
unplugged (sim.unplug) and plugged in again (sim.replug) goes through the
service's hotplug handling: hotplug events to every connection, pad.closed
(detached) to the one that had it open, the capture kept for its
capture.finish, and the pad listed and opened again once back.

    VANTIX_BRIDGE=build/tools/vantix-bridge/vantix-bridge python3 hotplug_test.py
"""
import json
import unittest

from bridge_process import Bridge, program_from_env
from security_test import ask, backlog, connect, next_of, open_pad

STROKES = [[[20, 20], [40, 30], [60, 20]], [[100, 10], [150, 40]]]
SAMPLES = sum(len(s) + 1 for s in STROKES)


def listed(ws):
    return [p["path"] for p in ask(ws, {"type": "pads.list", "id": "list"})["pads"]]


def events_until(ws, count, kind):
    """Waits until `count` events of `kind` have arrived (kept in the backlog)."""
    events = backlog(ws)
    while sum(e["type"] == kind for e in events) < count:
        message = json.loads(ws.recv())
        if "id" not in message:
            events.append(message)


class Hotplug(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.bridge = Bridge(program_from_env(), "--sim")

    @classmethod
    def tearDownClass(cls):
        cls.bridge.__exit__(None, None, None)

    def test_unplugged_while_capturing_and_back(self):
        owner, watcher = connect(self.bridge), connect(self.bridge)
        self.assertEqual(open_pad(owner)["type"], "opened")
        ask(owner, {"type": "capture.start", "text": "Sign", "id": "start"})
        for i, points in enumerate(STROKES):
            ask(owner, {"type": "sim.stroke", "points": points, "id": f"stroke{i}"})
        events_until(owner, SAMPLES, "sample")

        self.assertEqual(ask(watcher, {"type": "sim.unplug", "path": "sim:0", "id": "out"}),
                         {"type": "sim.unplugged", "path": "sim:0", "id": "out"})
        for ws in (owner, watcher):
            event = next_of(ws, "hotplug")
            self.assertEqual((event["event"], event["path"]), ("detached", "sim:0"))
        events_until(owner, 1, "pad.closed")
        self.assertEqual(next_of(owner, "pad.closed"), {"type": "pad.closed", "path": "sim:0", "reason": "detached"})
        self.assertNotIn("sim:0", listed(watcher))
        self.assertEqual(ask(watcher, {"type": "pad.open", "path": "sim:0", "id": "o"})["code"], "no_pad")
        self.assertEqual(ask(owner, {"type": "capture.start", "id": "again"})["code"], "not_open")

        # The capture outlives the pad: finished as often as asked.
        for formats in (["json"], ["svg"]):
            signature = ask(owner, {"type": "capture.finish", "formats": formats, "id": "finish"})
            self.assertEqual((signature["type"], signature["strokes"]), ("signature", len(STROKES)), signature)

        self.assertEqual(ask(watcher, {"type": "sim.replug", "path": "sim:0", "id": "in"})["type"], "sim.replugged")
        for ws in (owner, watcher):
            events_until(ws, 1, "hotplug")
            event = next_of(ws, "hotplug")
            self.assertEqual((event["event"], event["path"]), ("attached", "sim:0"))
        self.assertIn("sim:0", listed(watcher))
        self.assertEqual(open_pad(owner, id="reopen")["type"], "opened")
        ask(owner, {"type": "pad.close", "id": "close"})
        # Opening another pad let the kept capture go.
        self.assertEqual(ask(owner, {"type": "capture.finish", "id": "late"})["code"], "not_open")
        owner.close()
        watcher.close()

    def test_plugging_refusals(self):
        ws = connect(self.bridge)
        cases = [
            ({"type": "sim.replug", "path": "sim:0"}, "bad_field"),  # plugged in
            ({"type": "sim.unplug", "path": "sim:7"}, "bad_field"),  # no such pad
            ({"type": "sim.unplug", "path": 5}, "bad_field"),
        ]
        for message, code in cases:
            with self.subTest(message=message):
                self.assertEqual(ask(ws, {**message, "id": "x"})["code"], code)
        ask(ws, {"type": "sim.unplug", "id": "out"})
        self.assertEqual(ask(ws, {"type": "sim.unplug", "id": "twice"})["code"], "bad_field")
        ask(ws, {"type": "sim.replug", "id": "in"})
        ws.close()


if __name__ == "__main__":
    unittest.main(verbosity=2)
