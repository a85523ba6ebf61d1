# SPDX-License-Identifier: Apache-2.0
"""Shared fixtures: a started library with the virtual pad, and its pad opened."""

import subprocess
import threading

import pytest

import vantix
import vantix.sim

# Digitizer points inside the virtual pad's ink area (above the buttons).
STROKES = [
    [(300, 650), (420, 450), (540, 330), (660, 450)],
    [(1100, 350), (1150, 500), (1200, 650)],
]


@pytest.fixture
def lib():
    vantix.sim.reset()
    with vantix.Library() as library:
        vantix.sim.register()
        yield library


@pytest.fixture
def pad(lib):
    with lib.open("sim:0") as opened:
        yield opened


@pytest.fixture
def signature(pad):
    captured = pad.capture()
    for stroke in STROKES:
        for index, (x, y) in enumerate(stroke):
            captured.add_point(x, y, time_us=1000 * index)
        captured.add_point(*stroke[-1], down=False)
    return captured


def make_certificate(directory, name):
    """A self-signed RSA certificate and its key made by openssl: (key path, certificate path)."""
    key, cert = directory / f"{name}.key", directory / f"{name}.crt"
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-subj", f"/CN={name}",
                    "-keyout", key, "-out", cert, "-days", "1"], check=True, capture_output=True)
    return key, cert


@pytest.fixture
def pen(pad):
    return vantix.sim.VirtualPad.of(pad)


def ok_button(pad):
    return next(r for r in pad.regions if r.caption == "OK")


class Recorder:
    """Collects events on the read thread until `until` says stop."""

    def __init__(self, until=lambda event: False):
        self.events = []
        self.done = threading.Event()
        self._until = until

    def __call__(self, event):
        self.events.append(event)
        if self._until(event):
            self.done.set()

    def wait(self):
        assert self.done.wait(10), f"gave up after {self.events}"
        return self.events


def is_press(event, caption=None):
    return (isinstance(event, vantix.ButtonEvent) and event.action == vantix.ButtonAction.PRESS
            and caption in (None, event.caption))
