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


@pytest.mark.parametrize("call, error, text", [
    (lambda pad: pad.show_image(b"\0" * 3, 2, 2), ValueError, "2 x 2 pixels in mode L take 4 bytes, got 3"),
    (lambda pad: pad.show_image(b"\0" * 4, 2, 2, mode="CMYK"), ValueError, "mode must be one of L, RGB, RGBA"),
    (lambda pad: pad.show_image("abcd", 2, 2), TypeError, "pixels must be a bytes-like object, not str"),
    (lambda pad: pad.show_image(b"", 0, 2), ValueError, "width must be from 1 to 2147483647, not 0"),
    (lambda pad: pad.capture().export("gif"), ValueError, "fmt must be one of svg, png, inkml, json"),
    (lambda pad: pad.capture().export(b"png"), TypeError, "fmt must be a str, not bytes"),
    (lambda pad: pad.capture().export("png", width=-1), ValueError, "width must be from 0 to 4294967295, not -1"),
    (lambda pad: pad.capture().export("png", width=2**32 + 5), ValueError, "width must be from 0 to"),
    (lambda pad: pad.capture().export("svg", line_width=float("inf")), ValueError, "line_width must be a finite"),
    (lambda pad: pad.capture().export("svg", space=5), ValueError, "space must be one of Space.DISPLAY"),
    (lambda pad: pad.capture().save("signature.txt"), ValueError, "signature.txt: not .svg"),
    (lambda pad: pad.capture().save(5), TypeError, "path must be a str, bytes or os.PathLike path, not int"),
    (lambda pad: pad.capture().add_point(2**40, 5), ValueError, "x must be from 0 to 65535, not 1099511627776"),
    (lambda pad: pad.capture().add_point(1, 2, pressure="hard"), TypeError, "pressure must be a number, not str"),
    (lambda pad: pad.capture().add_point(1, 2, time_us=-1), ValueError, "time_us must be from 0 to"),
    (lambda pad: pad.draw_text(123), TypeError, "text must be a str, not int"),
    (lambda pad: pad.draw_text("x", 1.5), TypeError, "x must be an int, not float"),
    (lambda pad: pad.draw_text("x", 0, True), TypeError, "y must be an int, not bool"),
    (lambda pad: pad.draw_text("x", -1), ValueError, "x must be from 0 to 4294967295, not -1"),
    (lambda pad: pad.draw_text("x", align=7), ValueError, "align must be one of Align.LEFT, Align.RIGHT"),
    (lambda pad: pad.measure_text(None), TypeError, "text must be a str, not NoneType"),
    (lambda pad: pad.events(timeout=float("nan")), ValueError, "timeout must be a finite number, not nan"),
    (lambda pad: pad.events(timeout=-1), ValueError, "timeout must be at least 0, not -1"),
    (lambda pad: pad.events(timeout="1"), TypeError, "timeout must be a number, not str"),
    (lambda pad: pad.info.library.open(0), TypeError, "path must be a str, not int"),
    (lambda pad: vantix.sim.VirtualPad.of(pad).tap(2**31, 0), ValueError, "x must be from -2147483648"),
    (lambda pad: vantix.sim.VirtualPad.of(pad).stroke([(1, 2), 3]), TypeError, "points[1] must be an (x, y) pair"),
    (lambda pad: vantix.sim.VirtualPad.of(pad).swipe_card(b"B4111"), TypeError, "track1 must be a str, not bytes"),
])
def test_bad_arguments_are_refused_before_the_library(pad, call, error, text):
    with pytest.raises(error) as raised:
        call(pad)
    assert str(raised.value).startswith(text)


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
