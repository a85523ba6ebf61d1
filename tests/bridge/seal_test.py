# SPDX-License-Identifier: Apache-2.0
"""Sealed signatures through vantix-bridge: capture.finish with "seal"
returns the record sealed to the service's --seal-to certificates (and,
when allowed, the page's own), which stock OpenSSL opens with the
recipient's key and which names the page's document digest; --seal-only
refuses pen data in the clear; bad seal requests and --seal-to files are
refused with their own codes.

    VANTIX_BRIDGE=build/tools/vantix-bridge/vantix-bridge python3 seal_test.py
"""
import base64
import hashlib
import json
import os
import subprocess
import tempfile
import unittest

from bridge_process import Bridge, program_from_env
from security_test import ask, backlog, connect, open_pad

PROGRAM = program_from_env()
DOCUMENT = b"%PDF-1.7 a contract to sign\n"
DIGEST = hashlib.sha256(DOCUMENT).hexdigest()


def make_recipient(directory, name, algorithm):
    """A self-signed certificate and its key: (cert path, key path)."""
    key, cert = os.path.join(directory, name + ".key"), os.path.join(directory, name + ".crt")
    subprocess.run(["openssl", "req", "-x509", "-newkey", algorithm, *(
        ["-pkeyopt", "ec_paramgen_curve:P-256"] if algorithm == "ec" else ["-pkeyopt", "rsa_keygen_bits:2048"]),
        "-nodes", "-keyout", key, "-out", cert, "-days", "2", "-subj", f"/CN={name}"],
        check=True, capture_output=True)
    return cert, key


STROKES = [[[20, 20], [40, 30], [60, 20]], [[100, 10], [150, 40]]]
SAMPLES = sum(len(s) + 1 for s in STROKES)


def signed(ws, finish):
    """Opens the virtual pad, signs two strokes under a prompt and, once
    every sample has been read, sends `finish`; closes the pad after."""
    open_pad(ws)
    ask(ws, {"type": "capture.start", "text": "Sign the contract", "buttons": ["OK"], "id": "start"})
    for i, points in enumerate(STROKES):
        ask(ws, {"type": "sim.stroke", "points": points, "id": f"stroke{i}"})
    events = backlog(ws)
    while sum(e["type"] == "sample" for e in events) < SAMPLES:
        events.append(json.loads(ws.recv()))
    events.clear()
    reply = ask(ws, {"type": "capture.finish", "id": "finish", **finish})
    ask(ws, {"type": "pad.close", "id": "close"})
    return reply


def open_sealed(test, sealed_b64, cert, key):
    """The record stock `openssl cms -decrypt` reads out of a sealed reply."""
    path = os.path.join(test.dir, "signature.p7m")
    with open(path, "wb") as out:
        out.write(base64.b64decode(sealed_b64, validate=True))
    plain = subprocess.run(["openssl", "cms", "-decrypt", "-inform", "DER", "-in", path, "-recip", cert,
                            "-inkey", key], check=True, capture_output=True).stdout
    return json.loads(plain)


SEAL = {"document_sha256": DIGEST, "document_name": "contract.pdf"}


class SealedFinish(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.dir = cls.tmp.name
        cls.notary = make_recipient(cls.dir, "notary", "rsa")
        cls.page = make_recipient(cls.dir, "page", "ec")

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def test_sealed_finish_opens_with_the_recipient_key(self):
        with Bridge(PROGRAM, "--sim", "--seal-to", self.notary[0], "--seal-only") as bridge:
            ws = connect(bridge)
            reply = signed(ws, {"formats": ["svg"], "seal": SEAL})
            self.assertEqual(reply["type"], "signature", reply)
            self.assertNotIn("json", reply)
            record = open_sealed(self, reply["sealed"], *self.notary)
            self.assertEqual(record["document"], {"sha256": DIGEST, "name": "contract.pdf"})
            self.assertEqual(record["prompt"], "Sign the contract")
            self.assertEqual(record["pad"]["display"], {"width": 240, "height": 64})
            self.assertEqual(len(record["pen"]["samples"]), SAMPLES)
            ws.close()

    def test_seal_only_refuses_pen_data_in_the_clear(self):
        with Bridge(PROGRAM, "--sim", "--seal-to", self.notary[0], "--seal-only") as bridge:
            ws = connect(bridge)
            for formats in (["json"], ["inkml"], ["svg", "json"]):
                with self.subTest(formats=formats):
                    reply = signed(ws, {"formats": formats})
                    self.assertEqual(reply.get("code"), "seal_only", reply)
                    self.assertIn("--seal-only", reply["message"])
            reply = signed(ws, {})  # the default formats: pictures only
            self.assertEqual(sorted(k for k in ("svg", "png", "inkml", "json") if k in reply), ["png", "svg"])
            ws.close()

    def test_page_recipients_only_when_allowed(self):
        page_cert = open(self.page[0]).read()
        with_page = {**SEAL, "recipients": [page_cert]}
        cases = [
            ((), {"seal": with_page}, "recipients_refused"),
            ((), {"seal": SEAL}, "no_recipients"),
            (("--allow-page-recipients",), {"seal": SEAL}, "no_recipients"),
            (("--allow-page-recipients",), {"seal": {**SEAL, "recipients": ["not a certificate"]}}, "bad_field"),
            (("--seal-to", self.notary[0]), {"seal": {**SEAL, "document_sha256": DIGEST[:-2]}}, "bad_field"),
            (("--seal-to", self.notary[0]), {"seal": {**SEAL, "document_sha256": "x" * 64}}, "bad_field"),
            (("--seal-to", self.notary[0]), {"seal": "contract.pdf"}, "bad_field"),
        ]
        for flags, finish, code in cases:
            with self.subTest(flags=flags, code=code), Bridge(PROGRAM, "--sim", *flags) as bridge:
                ws = connect(bridge)
                self.assertEqual(signed(ws, finish).get("code"), code)
                ws.close()
        with Bridge(PROGRAM, "--sim", "--seal-to", self.notary[0], "--allow-page-recipients") as bridge:
            ws = connect(bridge)
            reply = signed(ws, {"formats": [], "seal": with_page})
            ws.close()
            for recipient in (self.notary, self.page):
                self.assertEqual(open_sealed(self, reply["sealed"], *recipient)["document"]["sha256"], DIGEST)

    def test_bad_seal_to_stops_the_service(self):
        not_a_cert = os.path.join(self.dir, "key-not-cert.pem")
        with open(not_a_cert, "w") as out:
            out.write(open(self.notary[1]).read())
        for path, text in ((os.path.join(self.dir, "missing.crt"), "cannot be read"),
                           (not_a_cert, "not an X.509 certificate")):
            with self.subTest(path=path):
                run = subprocess.run([PROGRAM, "--listen", "127.0.0.1:0", "--seal-to", path],
                                     capture_output=True, text=True, timeout=20)
                self.assertEqual(run.returncode, 2, run.stderr)
                self.assertIn(f"--seal-to {path}: {text}", run.stderr)


if __name__ == "__main__":
    unittest.main(verbosity=2)
