# SPDX-License-Identifier: Apache-2.0
"""vantix-bridge for pages of other origins: CORS for the allowed ones (the
module, the status, preflights, Vary: Origin) and nothing for others; the
status any page may read, which tells others no more than that a service
answered; --allow-origin checked (status 2); -v says why a request was
refused; the configuration file, read again on SIGHUP without dropping a
connected page.

    VANTIX_BRIDGE=build/tools/vantix-bridge/vantix-bridge python3 origin_test.py
"""
import http.client
import json
import os
import signal
import subprocess
import tempfile
import time
import unittest

import websocket  # python3-websocket

from bridge_process import Bridge, program_from_env
from security_test import ask, connect, open_pad

PROGRAM = program_from_env()
APP = "https://app.example:8443"
LOCAL = "http://localhost:8000"
EVIL = "https://evil.example"


def request(bridge, method, path, headers):
    conn = http.client.HTTPConnection("127.0.0.1", bridge.port, timeout=10)
    conn.request(method, path, headers=headers)
    res = conn.getresponse()
    body = res.read()
    conn.close()
    return res, body


def status_of(bridge, origin):
    res, body = request(bridge, "GET", "/status", {"Origin": origin})
    return json.loads(body)


def handshake(bridge, origin):
    """The HTTP status of a WebSocket handshake from `origin`."""
    try:
        websocket.create_connection(bridge.ws_url, origin=origin, timeout=10).close()
        return 101
    except websocket.WebSocketBadStatusException as e:
        return e.status_code


class Origins(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.bridge = Bridge(PROGRAM, "--sim", "-v", "--allow-origin", APP, "--allow-origin", LOCAL)

    @classmethod
    def tearDownClass(cls):
        cls.bridge.__exit__(None, None, None)

    def test_cors_for_allowed_origins_only(self):
        own = f"http://127.0.0.1:{self.bridge.port}"
        preflight = {"Access-Control-Request-Method": "GET", "Access-Control-Request-Private-Network": "true"}
        cases = [
            # method, path, origin, more headers, status, Access-Control-Allow-Origin
            ("GET", "/vantix-pad.js", APP, {}, 200, APP),
            ("GET", "/vantix-pad.js", LOCAL, {}, 200, LOCAL),
            ("GET", "/vantix-pad.js", own, {}, 200, own),
            ("HEAD", "/vantix-pad.js", APP, {}, 200, APP),
            ("GET", "/vantix-pad.js", EVIL, {}, 200, None),
            ("GET", "/vantix-pad.js", "https://app.example", {}, 200, None),  # another port
            ("GET", "/vantix-pad.js", "null", {}, 200, None),
            ("GET", "/", None, {}, 200, None),
            ("GET", "/status", APP, {}, 200, APP),
            ("GET", "/status", EVIL, {}, 200, "*"),
            ("GET", "/status", None, {}, 200, None),
            ("OPTIONS", "/vantix-pad.js", APP, preflight, 204, APP),
            ("OPTIONS", "/status", EVIL, preflight, 204, EVIL),
            ("OPTIONS", "/vantix-pad.js", EVIL, preflight, 403, None),
            ("OPTIONS", "/vantix-pad.js", APP, {"Access-Control-Request-Method": "POST"}, 405, None),
        ]
        for method, path, origin, more, status, allowed in cases:
            with self.subTest(method=method, path=path, origin=origin):
                headers = {**({"Origin": origin} if origin else {}), **more}
                res, _ = request(self.bridge, method, path, headers)
                self.assertEqual(res.status, status)
                self.assertEqual(res.getheader("Access-Control-Allow-Origin"), allowed)
                self.assertEqual(res.getheader("Vary"), "Origin")
                if status == 204:
                    self.assertEqual(res.getheader("Access-Control-Allow-Private-Network"), "true")

    def test_status_tells_others_only_that_a_service_answered(self):
        self.assertEqual(status_of(self.bridge, EVIL), {"service": "vantix-bridge", "origin_allowed": False})
        allowed = status_of(self.bridge, APP)
        self.assertEqual((allowed["origin_allowed"], allowed["protocol"]), (True, 1))

    def test_websocket_from_allowed_origins_only(self):
        for origin, status in ((APP, 101), (LOCAL, 101), (EVIL, 403), ("https://app.example", 403)):
            with self.subTest(origin=origin):
                self.assertEqual(handshake(self.bridge, origin), status)


class Settings(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.config = os.path.join(self.tmp.name, "config")

    def tearDown(self):
        self.tmp.cleanup()

    def write_config(self, text):
        with open(self.config, "w") as out:
            out.write(text)

    def test_bad_origins_stop_the_service(self):
        for value in ("localhost:8000", "*", "https://app.example/", "https://app.example/path", "ftp://app.example",
                      "https://app.example:99999", "https://user@app.example", "https://app_example"):
            for where in ("command line", "configuration file"):
                with self.subTest(value=value, where=where):
                    self.write_config(f"allow-origin = {value}\n" if where != "command line" else "")
                    flags = ["--allow-origin", value] if where == "command line" else []
                    run = subprocess.run([PROGRAM, "--listen", "127.0.0.1:0", "--config", self.config, *flags],
                                         capture_output=True, text=True, timeout=20)
                    self.assertEqual(run.returncode, 2, run.stderr)
                    self.assertIn(f"--allow-origin {value}: expected SCHEME://HOST[:PORT]", run.stderr)

    def test_refused_requests_are_logged(self):
        with Bridge(PROGRAM, "-v") as bridge:
            handshake(bridge, EVIL)
            request(bridge, "GET", "/", {"Host": "rebind.example:1"})
            bridge.stop()
            log = bridge.proc.stderr.read()
        self.assertIn(f"refused GET /ws: origin {EVIL}, host {bridge.host}: origin not allowed", log)
        self.assertIn("refused GET /: origin (none), host rebind.example:1: unexpected Host", log)

    def test_sighup_reads_the_file_again_and_keeps_pages(self):
        self.write_config(f"allow-origin = {APP}\n")
        with Bridge(PROGRAM, "--sim", "--config", self.config) as bridge:
            ws = connect(bridge)
            self.assertEqual(open_pad(ws)["type"], "opened")
            self.write_config(f'allow-origin = ["{APP}", "{LOCAL}"]\nmax-rate = 50\n')
            bridge.proc.send_signal(signal.SIGHUP)
            deadline = time.monotonic() + 10
            while not status_of(bridge, LOCAL)["origin_allowed"] and time.monotonic() < deadline:
                time.sleep(0.05)
            self.assertTrue(status_of(bridge, LOCAL)["origin_allowed"])
            self.assertEqual(handshake(bridge, LOCAL), 101)
            # A bad file changes nothing and stops nothing.
            self.write_config("allow-origin = localhost:8000\n")
            bridge.proc.send_signal(signal.SIGHUP)
            self.assertEqual(ask(ws, {"type": "pad.identity", "id": "still"})["type"], "identity")
            self.assertTrue(status_of(bridge, LOCAL)["origin_allowed"])
            self.assertTrue(bridge.alive())
            ws.close()
            bridge.stop()
            log = bridge.proc.stderr.read()
        self.assertIn("configuration read again: 2 allowed origins", log)
        self.assertIn("configuration not changed: --allow-origin localhost:8000: expected", log)


if __name__ == "__main__":
    unittest.main(verbosity=2)
