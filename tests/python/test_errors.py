# SPDX-License-Identifier: Apache-2.0
"""Failed calls raise VantixError with the library's (or the binding's) text."""

import os
import subprocess
import sys

import pytest

import vantix
import vantix.sim


def open_twice(lib, pad):
    pad.info.open()


def open_other_listing(lib, pad):
    lib.list_pads()[0].open()


def text_off_screen(lib, pad):
    pad.draw_text("far right", 400, 0)


def text_too_low(lib, pad):
    pad.draw_text("low", 0, 200)


def closed_pad(lib, pad):
    pad.close()
    pad.draw_text("x")


def closed_library(lib, pad):
    lib.close()
    _ = pad.capabilities


def empty_signature_undo(lib, pad):
    pad.capture().undo_stroke()


def empty_signature_box(lib, pad):
    pad.capture().bounding_box()


def second_library(lib, pad):
    vantix.Library()


def missing_virtual_pad(lib, pad):
    vantix.sim.VirtualPad(99).tap(10, 10)


def no_such_path(lib, pad):
    lib.open("sim:42")


@pytest.mark.parametrize("failing_call, text", [
    (open_twice, "Device is already open."),
    (open_other_listing, "Device is already open."),
    (text_off_screen, "Requested coordinate is off the screen in the horizontal direction."),
    (text_too_low, "Requested coordinate is off the screen in the vertical direction."),
    (closed_pad, "The pad is closed."),
    (closed_library, "The vantix.Library has been closed."),
    (empty_signature_undo, "The signature has no stroke to undo."),
    (empty_signature_box, "The signature has no points."),
    (second_library, "A vantix.Library is already open in this process; close it first."),
    (missing_virtual_pad, "Virtual pad 99 refused a tap at 10, 10."),
    (no_such_path, "No pad at sim:42."),
])
def test_failed_call_carries_its_text(lib, pad, failing_call, text):
    with pytest.raises(vantix.VantixError) as raised:
        failing_call(lib, pad)
    assert str(raised.value) == text == raised.value.message


@pytest.mark.parametrize("call, error", [
    (lambda pad: pad.show_image(b"\0" * 3, 2, 2), ValueError),
    (lambda pad: pad.show_image(b"\0" * 4, 2, 2, mode="CMYK"), ValueError),
    (lambda pad: pad.capture().export("gif"), ValueError),
    (lambda pad: pad.capture().save("signature.txt"), ValueError),
])
def test_bad_arguments_are_refused_before_the_library(pad, call, error):
    with pytest.raises(error):
        call(pad)


def test_register_needs_an_open_library():
    with pytest.raises(vantix.VantixError, match="Open a vantix.Library"):
        vantix.sim.register()


@pytest.mark.parametrize("variable, module", [
    ("VANTIX_LIBRARY", "vantix"),
    ("VANTIX_SIGNATURE_LIBRARY", "vantix"),
    ("VANTIX_PADSIM_LIBRARY", "vantix.sim"),
])
def test_missing_library_is_an_import_error(variable, module):
    environment = dict(os.environ, **{variable: "/nonexistent/libvantix.so"})
    result = subprocess.run([sys.executable, "-c", f"import {module}"], env=environment,
                            capture_output=True, text=True)
    assert result.returncode != 0
    assert "LibraryNotFoundError" in result.stderr and variable in result.stderr
