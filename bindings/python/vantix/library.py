# SPDX-License-Identifier: Apache-2.0
"""The library's lifetime: vantix_init on entry, vantix_destroy on exit."""

from __future__ import annotations

import ctypes
import weakref
from typing import Callable, List, Optional

from . import _arguments as arg
from . import _core as core
from . import _native as native
from .errors import VantixError
from .events import HotplugEvent
from .pad import Pad, PadInfo

HotplugCallback = Callable[[HotplugEvent], object]


class Library(core.Closing):
    """The started library. One may be open at a time per process.

    Use it as a context manager, or call close(). Closing closes the pads
    opened through it and invalidates what it listed; objects that are
    simply dropped keep it started until the last of them goes, in any order.
    """

    def __init__(self) -> None:
        self._session = core.start()
        weakref.finalize(self, core.stop, self._session)

    @property
    def is_open(self) -> bool:
        return self._session.alive

    def list_pads(self) -> List[PadInfo]:
        """The attached pads of every started driver (the virtual pad's too, once registered)."""
        self._session.require()
        head = native.DevicePtr()
        native.zelnar.vantix_list_devices(ctypes.byref(head))
        if not head:
            return []
        chain = core.Chain(self, head)
        return [PadInfo(chain, record) for record in core.chain_records(head)]

    def open(self, path: Optional[str] = None) -> Pad:
        """Opens the pad at ``path``, or the first one listed; VantixError when there is none."""
        arg.optional(arg.text, "path", path)
        for info in self.list_pads():
            if path is None or info.path == path:
                return info.open()
        raise VantixError(f"No pad at {path}." if path else "No pad attached.")

    def on_hotplug(self, callback: HotplugCallback) -> HotplugCallback:
        """Calls ``callback(event)`` on the library's hotplug thread when a pad comes or goes.

        Exceptions are logged, never raised into the library. Returns the
        callback (usable as a decorator).
        """
        core.add_hotplug(self._session, callback)
        return callback

    def remove_hotplug_callback(self, callback: HotplugCallback) -> None:
        """Removes one registration of ``callback``."""
        core.remove_hotplug(self._session, callback)

    def close(self) -> None:
        """Closes every pad opened through this library, frees its lists and stops it.

        Safe from a callback: the final steps then run on a helper thread
        once the callback has returned. A second close does nothing.
        """
        core.stop(self._session)

    def __repr__(self) -> str:
        return f"<vantix.Library {'open' if self.is_open else 'closed'}>"


def version() -> str:
    """The loaded C library's version text ("major.minor.release")."""
    return (native.zelnar.vantix_get_zelnar_version() or b"").decode()
