#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""vantix-bridge --replay: a recorded pad is served as the recorded pad; a
file that cannot be replayed stops the start with the reason."""

import os
import subprocess
import unittest

from bridge_process import Bridge, program_from_env
from security_test import ask, connect

PROGRAM = program_from_env()
RECORDINGS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "recordings")


class Replay(unittest.TestCase):
    def test_the_recorded_pad_is_listed_with_its_identity(self):
        with Bridge(PROGRAM, "--replay", os.path.join(RECORDINGS, "wide-pad.vxrec")) as bridge:
            ws = connect(bridge)
            pads = ask(ws, {"type": "pads.list", "id": 1})["pads"]
            self.assertEqual([(p["path"], p["model"]) for p in pads], [("sim:0", "Zelnar virtual pad")], pads)
            ws.close()

    def test_a_bad_file_stops_the_start_with_the_reason(self):
        run = subprocess.run([PROGRAM, "--listen", "127.0.0.1:0", "--replay", "/nonexistent/pad.vxrec"],
                             capture_output=True, text=True, timeout=20)
        self.assertEqual(run.returncode, 1, run.stderr)
        self.assertIn("/nonexistent/pad.vxrec: cannot be opened", run.stderr)


if __name__ == "__main__":
    unittest.main()
