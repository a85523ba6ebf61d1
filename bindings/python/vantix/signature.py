# SPDX-License-Identifier: Apache-2.0
"""Signatures captured from a pad, saved as SVG, PNG, InkML or JSON, or sealed to a document."""

from __future__ import annotations

import ctypes
import enum
import os
import weakref
from dataclasses import dataclass
from typing import List, Optional, Sequence, Union

from . import _arguments as arg
from . import _core as core
from . import _native as native
from .errors import VantixError

FORMATS = native.EXPORTERS


class Space(enum.IntEnum):
    """The coordinate space of exported or measured points."""

    DISPLAY = 0  #: display pixels
    DIGITIZER = 1  #: the pad's coordinate range


@dataclass(frozen=True)
class Point:
    """One captured point: digitizer units, pressure 0 to 1, host microseconds, stroke index."""

    x: int
    y: int
    pressure: float
    time_us: int
    stroke: int


@dataclass(frozen=True)
class Box:
    """A bounding box; left <= right, top <= bottom."""

    left: float
    top: float
    right: float
    bottom: float


class _Capture:
    """Owns one vantix_signature_capture. The pad it is fed from holds it
    too while open, so it is freed only when neither feeds nor reads it."""

    def __init__(self, address: int) -> None:
        self.address = address
        weakref.finalize(self, native.signature.vantix_signature_capture_free, address)


def _check(succeeded: bool) -> None:
    if not succeeded:
        raise VantixError(core.signature_error())


class Signature:
    """A signature being captured (Pad.capture). Safe to read while the pad's pen writes."""

    def __init__(self, capture: _Capture) -> None:
        self._capture = capture

    @property
    def _address(self) -> int:
        return self._capture.address

    @property
    def point_count(self) -> int:
        return int(native.signature.vantix_signature_point_count(self._address))

    @property
    def stroke_count(self) -> int:
        return int(native.signature.vantix_signature_stroke_count(self._address))

    def __len__(self) -> int:
        return self.point_count

    def points(self) -> List[Point]:
        """A copy of every point so far."""
        result = []
        point = native.SignaturePoint()
        for index in range(self.point_count):
            if native.signature.vantix_signature_get_point(self._address, index, ctypes.byref(point)) \
                    != native.SUCCESS:
                break  # cleared meanwhile
            result.append(Point(point.x, point.y, point.pressure, point.time_us, point.stroke))
        return result

    def add_point(self, x: int, y: int, down: bool = True, pressure: float = 1.0,
                  time_us: int = 0) -> None:
        """Adds one sample as the pen would (replays, tests)."""
        x, y = arg.integer("x", x, arg.U16), arg.integer("y", y, arg.U16)
        pressure, time_us = arg.real("pressure", pressure), arg.integer("time_us", time_us, arg.U64)
        _check(native.signature.vantix_signature_add_point(self._address, x, y, pressure, int(down), time_us)
               == native.SUCCESS)

    def clear(self) -> None:
        native.signature.vantix_signature_clear(self._address)

    def undo_stroke(self) -> None:
        """Removes the last stroke; VantixError when there is none."""
        _check(native.signature.vantix_signature_undo_stroke(self._address) == native.SUCCESS)

    def bounding_box(self, space: Space = Space.DISPLAY) -> Box:
        space = arg.member("space", space, Space)
        box = native.SignatureBox()
        _check(native.signature.vantix_signature_bounding_box(self._address, int(space), ctypes.byref(box))
               == native.SUCCESS)
        return Box(box.left, box.top, box.right, box.bottom)

    def export(self, fmt: str, *, space: Space = Space.DISPLAY, width: int = 0, height: int = 0,
               line_width: float = 2.0, pressure_width: bool = False) -> bytes:
        """The signature as "svg", "png", "inkml" or "json" bytes.

        ``space`` applies to SVG and JSON, ``width`` and ``height`` (0: the
        display's) to PNG, ``line_width`` and ``pressure_width`` to SVG and PNG.
        """
        arg.one_of("fmt", fmt, FORMATS)
        options = native.ExportOptions()
        native.signature.vantix_signature_default_options(ctypes.byref(options))
        options.space = int(arg.member("space", space, Space))
        options.width, options.height = arg.integer("width", width, arg.U32), arg.integer("height", height, arg.U32)
        options.line_width, options.pressure_width = arg.real("line_width", line_width), int(pressure_width)
        data, size = ctypes.c_void_p(), ctypes.c_size_t()
        exporter = getattr(native.signature, f"vantix_signature_export_{fmt}_buffer")
        _check(exporter(self._address, ctypes.byref(options), ctypes.byref(data), ctypes.byref(size))
               == native.SUCCESS)
        try:
            return ctypes.string_at(data.value, size.value) if size.value else b""
        finally:
            native.signature.vantix_signature_free_buffer(data.value)

    def save(self, path: Union[str, "os.PathLike[str]"], fmt: Optional[str] = None, **options: object) -> None:
        """Writes the signature to ``path`` in the format its suffix names (or ``fmt``).

        Options as in export().
        """
        where = arg.path("path", path)
        chosen = arg.optional(arg.one_of, "fmt", fmt, FORMATS) or \
            os.path.splitext(os.fsdecode(where))[1].lstrip(".").lower()
        if chosen not in FORMATS:
            raise ValueError(f"{os.fsdecode(where)}: not .svg, .png, .inkml or .json; pass fmt")
        data = self.export(chosen, **options)  # type: ignore[arg-type]
        with open(where, "wb") as file:
            file.write(data)

    def seal(self, document: object = None, *, sha256: object = None, document_name: Optional[str] = None,
             prompt: Optional[str] = None, recipients: Sequence[object] = (), sign_with: object = None,
             cert: object = None) -> bytes:
        """The signature's record bound to ``document``, sealed to ``recipients``: DER CMS bytes.

        ``document`` is the document's bytes or a path; or give its ``sha256``
        digest instead. ``recipients`` are 1 to 64 certificates (paths, or
        PEM/DER bytes); only their keys open the record (vantix.open_sealed).
        With ``sign_with`` and ``cert`` (a host key and its certificate) the
        sealed record is signed too. Raises VantixError with the library's text.
        """
        from .sealed import seal_capture

        return seal_capture(self._address, document, sha256, document_name, prompt, recipients, sign_with, cert)

    def __repr__(self) -> str:
        return f"<Signature {self.point_count} points in {self.stroke_count} strokes>"
