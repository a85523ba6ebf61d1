# SPDX-License-Identifier: Apache-2.0
"""vantix-bridge in headless Chromium, one browser and one service for every
case: the demo page signs and streams samples promptly (browser_test.py),
and web applications on their own HTTPS origins:

- a page on another local origin imports the module from the service as the
  README shows and signs end to end, its origin being allowed;
- a page that bundles the client (the npm package's file) gets
  origin_refused when its origin is not allowed;
- a page on a public origin (--ip-address-space-overrides) gets
  local_network_blocked without the local network permission, and with it
  (granted through the DevTools protocol) imports the module from the
  service and signs end to end.

The pages come from an HTTPS server of the test, with a certificate it makes.

    VANTIX_BRIDGE=build/tools/vantix-bridge/vantix-bridge python3 web_app_test.py [--out DIR]
"""
import argparse
import functools
import http.server
import os
import shutil
import socket
import ssl
import subprocess
import sys
import tempfile
import threading
import unittest

from selenium import webdriver
from selenium.common.exceptions import WebDriverException
from selenium.webdriver.chrome.service import Service

from bridge_process import Bridge, program_from_env
from browser_test import measure_latency, sign_and_check

HERE = os.path.dirname(os.path.abspath(__file__))
PACKAGE = os.path.join(HERE, "..", "..", "bindings", "js", "vantix-pad.js")
OUT = "."  # --out

# The README's recipe, importing the module from the service; signs with
# the virtual pen and reports the signature.
README_PAGE = """<!DOCTYPE html><meta charset="utf-8"><title>intake</title>
<script type="module">
window.outcome = (async () => {
  const { VantixBridge } = await import("http://127.0.0.1:%(port)d/vantix-pad.js");
  const bridge = await VantixBridge.connect("ws://127.0.0.1:%(port)d/ws");
  await bridge.open("sim:0");
  const ok = new Promise((resolve) => bridge.on("button", async (b) => b.caption === "OK" && resolve(await bridge.finish({ formats: ["svg"] }))));
  await bridge.startCapture({ text: "Please sign below", buttons: ["OK", "Clear", "Cancel"] });
  await bridge.sim.stroke([[20, 30], [60, 20], [120, 35]], { rate: 200 });
  await bridge.sim.button(0);
  const signature = await ok;
  bridge.disconnect();
  return { strokes: signature.strokes, svg: signature.svg.startsWith("<svg") || signature.svg.startsWith("<?xml") };
})().then((v) => v, (e) => ({ error: String(e), code: e.code }));
</script>"""

# A page whose client is bundled with it (the npm package's file, served
# from the page's own origin): it only connects.
BUNDLED_PAGE = """<!DOCTYPE html><meta charset="utf-8"><title>bundled</title>
<script type="module">
import { VantixBridge } from "./vantix-pad.js";
window.outcome = VantixBridge.connect("ws://127.0.0.1:%(port)d/ws").then(
  (bridge) => { bridge.disconnect(); return { connected: true }; },
  (e) => ({ error: e.message, code: e.code }));
</script>"""


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def make_certificate(directory):
    key, cert = os.path.join(directory, "page.key"), os.path.join(directory, "page.crt")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256", "-nodes",
                    "-keyout", key, "-out", cert, "-days", "2", "-subj", "/CN=app.test",
                    "-addext", "subjectAltName=DNS:app.test,DNS:other.test"], check=True, capture_output=True)
    return cert, key


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def end_headers(self):
        self.send_header("Cache-Control", "no-store")
        super().end_headers()


def https_server(directory, cert, key, port=0):
    """Serves `directory` over HTTPS on a loopback port, in a thread."""
    server = http.server.ThreadingHTTPServer(("127.0.0.1", port), functools.partial(QuietHandler, directory=directory))
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    server.socket = context.wrap_socket(server.socket, server_side=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def chromium(profile, public_port):
    options = webdriver.ChromeOptions()
    options.binary_location = shutil.which("chromium") or "/usr/bin/chromium"
    for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                "--disable-background-networking", "--disable-component-update", "--disable-sync",
                "--disable-dev-shm-usage", "--window-size=900,1000", f"--user-data-dir={profile}", "--ignore-certificate-errors",
                "--host-resolver-rules=MAP app.test 127.0.0.1, MAP other.test 127.0.0.1",
                f"--ip-address-space-overrides=127.0.0.1:{public_port}=public"):
        options.add_argument(arg)
    service = Service(executable_path=shutil.which("chromedriver") or "/usr/bin/chromedriver")
    return webdriver.Chrome(service=service, options=options)


def local_network_permissions(driver, origin):
    """Every local-network permission this Chromium knows, granted to
    `origin` in one call (a later call would replace the grants)."""
    known = []
    for name in ("localNetworkAccess", "localNetwork", "loopbackNetwork"):
        try:
            driver.execute_cdp_cmd("Browser.grantPermissions", {"origin": origin, "permissions": [name]})
            known.append(name)
        except WebDriverException:
            pass  # a name this version does not know
    assert known, "this Chromium knows no local-network permission"
    driver.execute_cdp_cmd("Browser.grantPermissions", {"origin": origin, "permissions": known})
    return known


class WebApp(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="vantix-web-app-")
        site = os.path.join(cls.tmp, "site")
        os.makedirs(site)
        cert, key = make_certificate(cls.tmp)
        cls.local_server = https_server(site, cert, key)
        # The public origin's server, on a port Chromium counts as public.
        cls.public_port = free_port()
        cls.public_server = https_server(site, cert, key, cls.public_port)
        cls.local = f"https://app.test:{cls.local_server.server_address[1]}"
        cls.public = f"https://app.test:{cls.public_port}"
        cls.bridge = Bridge(program_from_env(), "--sim", "-v", "--allow-origin", cls.local,
                            "--allow-origin", cls.public)
        for name, page in (("readme.html", README_PAGE), ("bundled.html", BUNDLED_PAGE)):
            with open(os.path.join(site, name), "w") as out:
                out.write(page % {"port": cls.bridge.port})
        shutil.copy(PACKAGE, os.path.join(site, "vantix-pad.js"))
        cls.driver = chromium(os.path.join(cls.tmp, "profile"), cls.public_port)

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        for server in (cls.local_server, cls.public_server):
            server.shutdown()
        cls.bridge.__exit__(None, None, None)
        shutil.rmtree(cls.tmp, ignore_errors=True)

    def outcome(self, url):
        self.driver.get(url)
        self.driver.set_script_timeout(60)
        return self.driver.execute_async_script(
            "const done = arguments[arguments.length - 1];"
            "const wait = () => window.outcome ? window.outcome.then(done) : setTimeout(wait, 20); wait();")

    def test_1_readme_import_signs_from_an_allowed_origin(self):
        self.assertEqual(self.outcome(self.local + "/readme.html"), {"strokes": 1, "svg": True})

    def test_2_bundled_client_from_an_origin_not_allowed(self):
        origin = f"https://other.test:{self.local_server.server_address[1]}"
        got = self.outcome(origin + "/bundled.html")
        self.assertEqual(got.get("code"), "origin_refused", got)
        self.assertIn(f"--allow-origin {origin}", got["error"])
        self.assertIn("~/.config/vantix-bridge/config", got["error"])

    def test_9_demo_page_signs_and_streams_promptly(self):
        self.driver.get_log("browser")  # what the other pages logged
        try:
            sign_and_check(self.driver, self.bridge, OUT)
            measure_latency(self.driver)
        except Exception:
            self.driver.save_screenshot(os.path.join(OUT, "bridge-demo-failed.png"))
            raise
        errors = [e for e in self.driver.get_log("browser") if e["level"] == "SEVERE"]
        self.assertEqual(errors, [])

    def test_3_public_origin_needs_the_local_network_permission(self):
        got = self.outcome(self.public + "/bundled.html")
        self.assertEqual(got.get("code"), "local_network_blocked", got)
        local_network_permissions(self.driver, self.public)
        self.assertEqual(self.outcome(self.public + "/bundled.html"), {"connected": True})
        self.assertEqual(self.outcome(self.public + "/readme.html"), {"strokes": 1, "svg": True})


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--out", default=".", help="where the demo page's screenshot goes")
    args, rest = parser.parse_known_args()
    OUT = args.out
    os.makedirs(OUT, exist_ok=True)
    unittest.main(argv=sys.argv[:1] + rest, verbosity=2)
