# SPDX-License-Identifier: Apache-2.0
"""Listed pads and open pads."""

from __future__ import annotations

import ctypes
import queue
import time
import weakref
from typing import TYPE_CHECKING, Callable, List, Optional, Tuple

from . import _arguments as arg
from . import _core as core
from . import _native as native
from .errors import VantixError, check
from .events import Event
from .records import Align, Capabilities, DisplayInfo, FirmwareVersion, Region

if TYPE_CHECKING:
    from .library import Library
    from .signature import Signature

EventCallback = Callable[[Event], object]
_MODES = {"L": 1, "RGB": 3, "RGBA": 4}


def _text(raw: Optional[bytes]) -> str:
    return (raw or b"").decode("utf-8", "replace")


class PadInfo:
    """A pad as the library lists it. Compares equal to any listing of the same pad."""

    def __init__(self, chain: core.Chain, record: "ctypes._Pointer[native.Device]") -> None:
        self._chain = chain
        self._record = record
        device = record.contents
        self.path: str = _text(device.path)
        self.vendor_id: int = device.vendor_id
        self.product_id: int = device.product_id
        self.model: str = _text(device.model)
        self.manufacturer: str = _text(device.manufacturer)
        driver = device.driver
        self.driver: str = _text(driver.contents.get_name()) if driver and driver.contents.get_name else ""

    @property
    def library(self) -> "Library":
        """The Library that listed this pad."""
        return self._chain.library

    def open(self) -> "Pad":
        """Opens the pad (a context manager closes it); VantixError when it cannot."""
        return Pad(self)

    def _key(self) -> Tuple[str, str]:
        return self.driver, self.path

    def __eq__(self, other: object) -> bool:
        return isinstance(other, PadInfo) and self._key() == other._key()

    def __hash__(self) -> int:
        return hash(self._key())

    def __repr__(self) -> str:
        return f"<PadInfo {self.driver} {self.path} {self.model!r} {self.vendor_id:04x}:{self.product_id:04x}>"


class EventStream(core.Closing):
    """An iterator over a pad's events, from the moment it was made.

    Iteration ends when the pad closes, or when ``timeout`` seconds pass
    without an event (None waits for ever). It collects every event until it
    ends or is closed: close it (or use it as a context manager) when done.
    """

    _END = object()
    _POLL = 0.25

    def __init__(self, pad: "Pad", timeout: Optional[float]) -> None:
        self._pad = pad
        self._timeout = timeout
        self._queue: "queue.SimpleQueue[object]" = queue.SimpleQueue()
        self._finished = False

    def put(self, event: Event) -> None:
        self._queue.put(event)

    def finish(self) -> None:
        self._queue.put(self._END)

    def __iter__(self) -> "EventStream":
        return self

    def __next__(self) -> Event:
        item = self._END if self._finished else self._next_item()
        if item is self._END:
            self.close()
            raise StopIteration
        return item  # type: ignore[return-value]

    def _next_item(self) -> object:
        # In slices, so a pad the library closed itself (a failed read, an
        # unplug) ends the iteration too.
        deadline = None if self._timeout is None else time.monotonic() + self._timeout
        while True:
            wait = self._POLL if deadline is None else min(self._POLL, deadline - time.monotonic())
            try:
                return self._queue.get(timeout=max(wait, 0))
            except queue.Empty:
                if not self._pad.is_open or (deadline is not None and time.monotonic() >= deadline):
                    return self._END

    def close(self) -> None:
        """Stops receiving events."""
        self._finished = True
        self._pad._unsubscribe(self)


class Pad(core.Closing):
    """An open pad. Use it as a context manager, or call close().

    Input is read on a library thread from the first call of on_event,
    events, capture or start_reading on. Every method raises VantixError
    with the library's text when a call fails, and when the pad or its
    Library has been closed.
    """

    def __init__(self, info: PadInfo) -> None:
        session = info.library._session
        session.require()
        # Another listing's record of the same pad: the library would open it twice.
        address = ctypes.addressof(info._record.contents)
        for state in list(session.pads.values()):
            if state.address != address and _text(state.record.contents.path) == info.path:
                raise VantixError("Device is already open.")
        self.info = info
        self._state = core.open_pad(session, info._record)
        weakref.finalize(self, core.close_pad, self._state)

    # -- identity ----------------------------------------------------------
    @property
    def path(self) -> str:
        return self.info.path

    @property
    def driver(self) -> str:
        return self.info.driver

    @property
    def is_open(self) -> bool:
        """False once closed here, by the library (a failed read), or with the Library."""
        state = self._state
        return state.session.alive and not state.closed and state.record.contents.open != 0

    def _device(self) -> "ctypes._Pointer[native.Device]":
        self._state.session.require()
        if not self.is_open:
            raise VantixError("The pad is closed.")
        return self._state.record

    @property
    def display(self) -> DisplayInfo:
        """The display's size, depth and region count."""
        return DisplayInfo.from_native(self._device().contents.display_info)

    @property
    def version(self) -> FirmwareVersion:
        return FirmwareVersion.from_native(self._device().contents.version_info)

    @property
    def uuid(self) -> bytes:
        """16 bytes: the digest of the pad's error-correction table."""
        device = self._device().contents
        return ctypes.string_at(device.uuid, 16) if device.uuid else b""

    @property
    def capabilities(self) -> Capabilities:
        record = native.Capabilities()
        native.zelnar.vantix_get_capabilities_ref(self._device(), ctypes.byref(record))
        check(record.report_id != 0, core.last_error)
        return Capabilities.from_native(record)

    @property
    def serial_number(self) -> str:
        record = native.SerialNumber()
        native.zelnar.vantix_get_serial_number_ref(self._device(), ctypes.byref(record))
        check(record.report_id != 0, core.last_error)
        raw = bytes(record.serial_number).split(b"\0", 1)[0].rstrip(b"\xff")
        return raw.decode("ascii", "replace")

    @property
    def regions(self) -> List[Region]:
        """The legacy regions as read at open; region n is at index n - 1."""
        device = self._device().contents
        if not device.regions:
            return []
        return [Region.from_native(device.regions[i]) for i in range(device.display_info.region_count)]

    # -- display -----------------------------------------------------------
    def draw_text(self, text: str, x: int = 0, y: int = 0, align: Align = Align.LEFT,
                  invert: bool = False) -> None:
        """Draws UTF-8 text in the pad's font; y is its top, x its left, right or middle edge."""
        data = arg.utf8("text", text)
        x, y = arg.integer("x", x, arg.U32), arg.integer("y", y, arg.U32)
        align = arg.member("align", align, Align)
        check(native.zelnar.vantix_device_draw_text(self._device(), data, x, y, int(align),
                                                    1 if invert else 0) == native.SUCCESS,
              core.last_error)

    def measure_text(self, text: str) -> Tuple[int, int]:
        """Width and height in pixels of text in the pad's font."""
        device, data = self._device(), arg.utf8("text", text)
        return (native.zelnar.vantix_measure_text_width(device, data),
                native.zelnar.vantix_measure_text_height(device, data))

    def clear_screen(self) -> None:
        check(native.zelnar.vantix_clear_screen(self._device()) == native.SUCCESS, core.last_error)

    def show_image(self, pixels: bytes, width: int, height: int, x: int = 0, y: int = 0,
                   depth: int = 1, mode: str = "L") -> None:
        """Shows a picture with its top left at (x, y), sent at ``depth`` bits per pixel.

        ``pixels`` holds ``width * height`` pixels row by row from the top:
        one grey byte each in mode "L", three (red, green, blue) in "RGB",
        four in "RGBA" (composited over white).
        """
        view = arg.data("pixels", pixels)
        width, height = arg.integer("width", width, (1, arg.I32[1])), arg.integer("height", height, (1, arg.I32[1]))
        x, y, depth = arg.integer("x", x, arg.U32), arg.integer("y", y, arg.U32), arg.integer("depth", depth, arg.I32)
        channels = _MODES[arg.one_of("mode", mode, _MODES)]
        if len(view) != width * height * channels:
            raise ValueError(f"{width} x {height} pixels in mode {mode} take {width * height * channels} "
                             f"bytes, got {len(view)}")
        device = self._device()
        buffer = ctypes.create_string_buffer(54 + height * ((24 * width + 31) // 32 * 4))
        bitmap = native.Bitmap()
        native.zelnar.vantix_bitmap_init(ctypes.byref(bitmap), ctypes.addressof(buffer), width, height)
        if not bitmap.bitmap:
            raise ValueError(f"a {width} x {height} picture is too large")
        set_pixel = native.zelnar.vantix_set_pixel
        for row in range(height):
            for column in range(width):
                at = (row * width + column) * channels
                if channels == 1:
                    red = green = blue = view[at]
                    alpha = 255
                else:
                    red, green, blue = view[at], view[at + 1], view[at + 2]
                    alpha = view[at + 3] if channels == 4 else 255
                set_pixel(ctypes.byref(bitmap), column, row, (red << 24) | (green << 16) | (blue << 8) | alpha)
        check(native.zelnar.vantix_transfer_bitmap_to_device(device, ctypes.byref(bitmap), x, y, depth)
              == native.SUCCESS, core.last_error)

    # -- input -------------------------------------------------------------
    def start_reading(self) -> None:
        """Starts the library's read thread for this pad (once)."""
        self._device()
        core.start_reading(self._state)

    def on_event(self, callback: EventCallback) -> EventCallback:
        """Calls ``callback(event)`` on the read thread for every input event, in order.

        An exception in the callback is logged (logger "vantix"), never
        raised into the library. The callback may close the pad; no callback
        runs for that report afterwards. Returns the callback, so it can be
        used as a decorator.
        """
        self._consume("callbacks", callback)
        return callback

    def remove_event_callback(self, callback: EventCallback) -> None:
        """Removes one registration of ``callback``; nothing happens when it has none."""
        self._state.detach("callbacks", callback)

    def events(self, timeout: Optional[float] = None) -> EventStream:
        """An iterator over the events from now on (see EventStream)."""
        stream = EventStream(self, arg.optional(arg.real, "timeout", timeout, 0))
        self._consume("streams", stream)
        return stream

    def _consume(self, kind: str, consumer: object) -> None:
        """Adds a consumer of input (callback, stream, capture) and starts reading."""
        self._device()
        self._state.attach(kind, consumer)
        core.start_reading(self._state)

    def _unsubscribe(self, stream: EventStream) -> None:
        self._state.detach("streams", stream)

    def capture(self) -> "Signature":
        """A signature fed by this pad's pen from now on, until the pad closes.

        It reads the pad's coordinate range, capabilities and serial number,
        so make it before reading starts where the order matters (it starts
        reading itself).
        """
        from .signature import Signature, _Capture

        device = self._device()
        address = native.signature.vantix_signature_capture_new(device)
        if not address:
            raise VantixError(core.signature_error())
        handle = _Capture(address)
        self._consume("captures", handle)
        return Signature(handle)

    # -- closing -----------------------------------------------------------
    def close(self) -> None:
        """Closes the pad (also from one of its own callbacks); a second close does nothing."""
        if core.close_pad(self._state):
            raise VantixError(core.text_of_last_error())

    def __repr__(self) -> str:
        return f"<Pad {self.driver} {self.path} {'open' if self.is_open else 'closed'}>"
