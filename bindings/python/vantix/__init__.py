# SPDX-License-Identifier: Apache-2.0
"""Python binding of libvantix-zelnar, the USB signature pad library.

    import vantix

    with vantix.Library() as lib:
        with lib.open() as pad:                 # the first pad listed
            pad.draw_text("Please sign", 120, 1, vantix.Align.CENTER)
            signature = pad.capture()
            for event in pad.events(timeout=30):
                if isinstance(event, vantix.ButtonEvent) and event.action == vantix.ButtonAction.PRESS:
                    break
            signature.save("signature.svg")

The shared libraries are loaded by SONAME (libvantix-zelnar.so.2,
libvantix-signature.so.2); VANTIX_LIBRARY, VANTIX_SIGNATURE_LIBRARY or
VANTIX_BUILD_DIR (a build tree) override that. ``vantix.sim`` drives the
virtual pad. Failed calls raise VantixError with the library's text;
exceptions in callbacks are logged on the "vantix" logger.
"""

from ._version import __version__
from .errors import VantixError
from .events import (
    ButtonAction,
    ButtonEvent,
    CardEvent,
    Event,
    HotplugAction,
    HotplugEvent,
    PenEvent,
    RawEvent,
)
from .library import Library, version
from .pad import EventStream, Pad, PadInfo
from .records import Align, Capabilities, DisplayInfo, FirmwareVersion, Region, RegionType
from .sealed import OpenedRecord, RecordPad, open_sealed
from .signature import Box, Point, Signature, Space

__all__ = [
    "__version__", "Align", "Box", "ButtonAction", "ButtonEvent", "Capabilities", "CardEvent",
    "DisplayInfo", "Event", "EventStream", "FirmwareVersion", "HotplugAction", "HotplugEvent",
    "Library", "OpenedRecord", "Pad", "PadInfo", "PenEvent", "Point", "RawEvent", "RecordPad", "Region",
    "RegionType", "Signature", "Space", "VantixError", "open_sealed", "version",
]
