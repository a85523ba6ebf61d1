# SPDX-License-Identifier: Apache-2.0
"""The ctypes records match the C compiler's layout, field by field."""

import ctypes
import os
import subprocess

import pytest

from vantix import _native, pdf

LAYOUT = subprocess.run([os.environ["VANTIX_LAYOUT_PROGRAM"]], check=True, capture_output=True,
                        text=True).stdout.split("\n")


@pytest.mark.parametrize("name, value", [line.split() for line in LAYOUT if line])
def test_layout_matches_the_compiler(name, value):
    record, _, field = name.partition(".")
    declared = {**_native.LAYOUTS, **pdf.LAYOUTS}[record]
    actual = getattr(declared, field).offset if field else ctypes.sizeof(declared)
    assert actual == int(value)
