# SPDX-License-Identifier: Apache-2.0
"""The virtual pad: a model of pad firmware to test against without hardware.

    import vantix, vantix.sim

    with vantix.Library() as lib:
        vantix.sim.register()                     # lists one pad as "sim:0"
        with lib.open("sim:0") as pad:
            signature = pad.capture()
            pen = vantix.sim.VirtualPad.of(pad)
            pen.stroke([(300, 650), (420, 450), (540, 330)])

It loads libvantix-padsim.so.2, installed with the library (or the one
VANTIX_PADSIM_LIBRARY or VANTIX_BUILD_DIR point at). Pen coordinates are digitizer units; the calibrated
digitizer range covers the display.
"""

from __future__ import annotations

import os
from ctypes import POINTER, c_char_p, c_int, c_uint, c_void_p
from typing import Iterable, Tuple, Union

from . import _arguments as arg
from . import _core as core
from . import _loader
from .errors import VantixError
from .pad import Pad, PadInfo

_padsim = _loader.load(_loader.PADSIM)
for _name, _restype, _argtypes in (
    ("vantix_padsim_register", None, []),
    ("vantix_padsim_add_pad", c_int, []),
    ("vantix_padsim_pad_count", c_int, []),
    ("vantix_padsim_queue_input", c_int, [c_int, c_char_p, c_uint]),
    ("vantix_padsim_pen_sample", c_int, [c_int, c_int, c_int, c_int]),
    ("vantix_padsim_stroke", c_int, [c_int, POINTER(c_int), c_int]),
    ("vantix_padsim_tap", c_int, [c_int, c_int, c_int]),
    ("vantix_padsim_tap_display", c_int, [c_int, c_int, c_int]),
    ("vantix_padsim_swipe_card", c_int, [c_int, c_char_p, c_char_p, c_char_p]),
    ("vantix_padsim_write_png", c_int, [c_int, c_char_p]),
    ("vantix_padsim_reset", None, []),
    ("vantix_padsim_add_replay", c_int, [c_char_p, c_int]),
    ("vantix_padsim_driver", c_void_p, []),
):
    _function = getattr(_padsim, _name)
    _function.restype, _function.argtypes = _restype, _argtypes

_PREFIX = "sim:"


def register() -> None:
    """Adds the "SIM" driver to the open Library, with one pad when there is none."""
    session = core.current()
    if session is None:
        raise VantixError("Open a vantix.Library before registering the virtual pad.")
    _padsim.vantix_padsim_register()


def add_pad() -> "VirtualPad":
    """Adds a pad of the default model; it is listed as "sim:<index>"."""
    return VirtualPad(_padsim.vantix_padsim_add_pad())


def replay(path: Union[str, "os.PathLike[str]"], paced: bool = False) -> "VirtualPad":
    """Adds a pad replaying a recording made by ``vantix-tool record``.

    The pad is listed with the recorded pad's identity and answers as it did;
    each open plays the recorded input, all at once or (``paced``) at the
    recorded pace. Registers the "SIM" driver with the open Library. A file
    that is no recording, is damaged or of a newer format raises VantixError
    with the line and the fault.
    """
    if core.current() is None:
        raise VantixError("Open a vantix.Library before adding a replayed pad.")
    where = arg.path("path", path)
    index = _padsim.vantix_padsim_add_replay(os.fsencode(where), int(bool(paced)))
    if index < 0:
        raise VantixError(core.text_of_last_error().rstrip("\n"))
    _padsim.vantix_padsim_register()
    return VirtualPad(index)


def pad_count() -> int:
    """Number of virtual pads added since the last reset."""
    return int(_padsim.vantix_padsim_pad_count())


def reset() -> None:
    """Removes every virtual pad; records listed before no longer reach one."""
    _padsim.vantix_padsim_reset()


def _point(x_name: str, x: object, y_name: str, y: object) -> Tuple[int, int]:
    return arg.integer(x_name, x, arg.I32), arg.integer(y_name, y, arg.I32)


class VirtualPad:
    """The pen, buttons and card reader of virtual pad ``index``.

    Input is queued on the pad and delivered by the next reads of its open
    record, in order. A refused call (no such pad, a coordinate out of
    range, no card reader) raises VantixError.
    """

    def __init__(self, index: int) -> None:
        self.index = arg.integer("index", index, arg.I32)

    @classmethod
    def of(cls, pad: Union[Pad, PadInfo]) -> "VirtualPad":
        """The virtual pad behind a listed or open pad ("sim:<index>")."""
        path = pad.path
        if not path.startswith(_PREFIX) or not path[len(_PREFIX):].isdigit():
            raise VantixError(f"{path} is not a virtual pad.")
        return cls(int(path[len(_PREFIX):]))

    def _done(self, accepted: int, what: str) -> None:
        if not accepted:
            raise VantixError(f"Virtual pad {self.index} refused {what}.")

    def pen(self, x: int, y: int, down: bool = True) -> None:
        """One pen sample at (x, y)."""
        x, y = _point("x", x, "y", y)
        self._done(_padsim.vantix_padsim_pen_sample(self.index, x, y, int(down)), f"a pen sample at {x}, {y}")

    def stroke(self, points: Iterable[Tuple[int, int]]) -> None:
        """Pen-down samples through ``points``, then a pen-up at the last."""
        flat = []
        for number, point in enumerate(points):
            if not isinstance(point, (tuple, list)) or len(point) != 2:
                raise arg.wrong_type(f"points[{number}]", "an (x, y) pair", point)
            flat.extend(_point(f"points[{number}][0]", point[0], f"points[{number}][1]", point[1]))
        array = (c_int * len(flat))(*flat)
        self._done(_padsim.vantix_padsim_stroke(self.index, array, len(flat) // 2), "the stroke")

    def tap(self, x: int, y: int) -> None:
        """Pen down and up at digitizer (x, y): on a button, a press."""
        x, y = _point("x", x, "y", y)
        self._done(_padsim.vantix_padsim_tap(self.index, x, y), f"a tap at {x}, {y}")

    def tap_display(self, x: int, y: int) -> None:
        """The same at display pixel (x, y), for example a button's centre."""
        x, y = _point("x", x, "y", y)
        self._done(_padsim.vantix_padsim_tap_display(self.index, x, y), f"a tap at pixel {x}, {y}")

    def swipe_card(self, track1: str = "", track2: str = "", track3: str = "") -> None:
        """A valid financial card swipe."""
        tracks = (arg.utf8("track1", track1), arg.utf8("track2", track2), arg.utf8("track3", track3))
        self._done(_padsim.vantix_padsim_swipe_card(self.index, *tracks), "the card swipe")

    def queue_input(self, report: bytes) -> None:
        """Queues a raw input report (report ID in byte 0)."""
        raw = arg.data("report", report).tobytes()
        self._done(_padsim.vantix_padsim_queue_input(self.index, raw, len(raw)), "the input report")

    def write_png(self, path: Union[str, "os.PathLike[str]"]) -> None:
        """Writes what the pad's display shows (drawn pictures and ink) as a PNG picture."""
        where = arg.path("path", path)
        self._done(_padsim.vantix_padsim_write_png(self.index, os.fsencode(where)), f"writing {os.fsdecode(where)}")

    def __repr__(self) -> str:
        return f"<VirtualPad {_PREFIX}{self.index}>"
