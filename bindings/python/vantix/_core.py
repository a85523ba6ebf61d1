# SPDX-License-Identifier: Apache-2.0
"""Process-wide state between the Python objects and the C library.

The C library keeps one device list and calls back on its own threads: a
read thread per pad and a hotplug thread. The trampolines below are module
constants, so the library can never call a freed ctypes thunk, and they find
their Python state by record address. Nothing here holds a lock while it
calls into the library, so a callback that needs the same state never waits
for a thread that is waiting for it.
"""

from __future__ import annotations

import atexit
import ctypes
import logging
import threading
import weakref
from typing import TYPE_CHECKING, Callable, Dict, Optional, Tuple, TypeVar

from . import _native as native
from .errors import VantixError, check, text
from .events import HotplugAction, HotplugEvent, decode

if TYPE_CHECKING:
    from .library import Library

log = logging.getLogger("vantix")

_local = threading.local()


def in_callback() -> bool:
    """True on a library thread while it runs a Python callback."""
    return getattr(_local, "depth", 0) > 0


class _CallbackScope:
    def __enter__(self) -> None:
        _local.depth = getattr(_local, "depth", 0) + 1

    def __exit__(self, *exc: object) -> None:
        _local.depth -= 1


def call_safely(what: str, function: Callable[..., object], *args: object) -> None:
    """Runs a user callback; an exception is logged, never handed back to C."""
    try:
        function(*args)
    except BaseException:  # noqa: B036 - nothing may unwind into the library
        log.exception("vantix: %s %r raised", what, function)


def detach(work: Callable[[], None], name: str) -> None:
    """Runs ``work`` now, or on a helper thread when called from a callback.

    Freeing device records or stopping the library from one of its own
    threads would pull state from under the frames below the callback; a
    helper thread does it once they have unwound (the library waits for read
    threads still ending before it frees their records).
    """
    if not in_callback():
        work()
        return
    helper = threading.Thread(target=_logged(work, name), name=f"vantix-{name}")
    _helpers.add(helper)
    helper.start()


def _logged(work: Callable[[], None], name: str) -> Callable[[], None]:
    def run() -> None:
        try:
            work()
        except BaseException:  # noqa: B036
            log.exception("vantix: %s failed", name)
        finally:
            _helpers.discard(threading.current_thread())

    return run


_helpers: set = set()


def wait_for_helpers() -> None:
    """Waits for deferred teardown work (not from a helper itself)."""
    for helper in list(_helpers):
        if helper is not threading.current_thread():
            helper.join()


_Self = TypeVar("_Self", bound="Closing")


class Closing:
    """A context manager whose exit calls close()."""

    def close(self) -> None:
        raise NotImplementedError

    def __enter__(self: _Self) -> _Self:
        return self

    def __exit__(self, *exc: object) -> None:
        self.close()


def without_one(items: Tuple[object, ...], item: object) -> Tuple[object, ...]:
    """``items`` less the first one equal to ``item`` (all of them when there is none)."""
    listed = list(items)
    if item in listed:
        listed.remove(item)
    return tuple(listed)


class PadState:
    """What the input trampoline needs of one open pad.

    The tuples are replaced, never changed in place, so the trampoline reads
    a consistent snapshot without a lock.
    """

    def __init__(self, session: "Session", record: "ctypes._Pointer[native.Device]") -> None:
        self.session = session
        self.record = record
        self.address = ctypes.addressof(record.contents)
        self.closed = False
        self.reading = False
        self.callbacks: Tuple[Callable[..., object], ...] = ()
        self.streams: Tuple[object, ...] = ()
        self.captures: Tuple[object, ...] = ()
        self.lock = threading.RLock()  # a finalizer run by the GC may re-enter

    def attach(self, kind: str, item: object) -> None:
        """Adds ``item`` to the callbacks, streams or captures."""
        with self.lock:
            setattr(self, kind, getattr(self, kind) + (item,))

    def detach(self, kind: str, item: object) -> None:
        with self.lock:
            setattr(self, kind, without_one(getattr(self, kind), item))


class Session:
    """One vantix_init .. vantix_destroy span of the C library."""

    def __init__(self) -> None:
        self.alive = True
        self.lock = threading.RLock()  # a finalizer run by the GC may re-enter
        self.pads: Dict[int, PadState] = {}
        self.chains: Dict[int, "ctypes._Pointer[native.Device]"] = {}
        self.hotplug: Tuple[Callable[..., object], ...] = ()
        self.hotplug_registered = False

    def require(self) -> None:
        if not self.alive:
            raise VantixError("The vantix.Library has been closed.")


_open_pads: Dict[int, PadState] = {}
_current: Optional[Session] = None


def current() -> Optional[Session]:
    """The session of the open Library, if any."""
    return _current if _current is not None and _current.alive else None


def start() -> Session:
    """vantix_init for a new Library; one at a time per process."""
    global _current
    if in_callback() and _helpers:
        # The teardown still pending waits for this very thread to return.
        raise VantixError("The previous vantix.Library is still stopping; start a new one outside its callbacks.")
    wait_for_helpers()
    if current() is not None:
        raise VantixError("A vantix.Library is already open in this process; close it first.")
    native.zelnar.vantix_init()
    _current = Session()
    return _current


def last_error() -> Optional[bytes]:
    return native.zelnar.vantix_get_last_error()


def text_of_last_error() -> str:
    return text(last_error())


def signature_error() -> str:
    """The signature library's text for this thread's last failure."""
    return text(native.signature.vantix_signature_last_error())


def open_pad(session: Session, record: "ctypes._Pointer[native.Device]") -> PadState:
    session.require()
    check(native.zelnar.vantix_open_device(record) == native.SUCCESS, last_error)
    state = PadState(session, record)
    native.zelnar.vantix_register_input_callback(record, INPUT_TRAMPOLINE)
    with session.lock:
        session.pads[state.address] = state
    _open_pads[state.address] = state
    return state


def start_reading(state: PadState) -> None:
    with state.lock:
        if state.reading or state.closed:
            return
        state.reading = True
    native.zelnar.vantix_device_read_until_done(state.record)


def close_pad(state: PadState) -> bool:
    """Closes an open pad once; True when the library's close failed."""
    with state.lock:
        if state.closed:
            return False
        state.closed = True
    still_open = state.record.contents.open != 0
    # Stops and joins the read thread first (from one of its own callbacks
    # the thread ends after the current report instead).
    failed = still_open and native.zelnar.vantix_close_device(state.record) != native.SUCCESS
    # Only this state: the record may have been opened again meanwhile.
    for registry in (_open_pads, state.session.pads):
        with state.session.lock:
            if registry.get(state.address) is state:
                del registry[state.address]
    state.captures = ()
    for stream in state.streams:
        stream.finish()  # type: ignore[attr-defined]
    return failed


def add_chain(session: Session, head: "ctypes._Pointer[native.Device]") -> int:
    key = ctypes.addressof(head.contents)
    with session.lock:
        session.chains[key] = head
    return key


def chain_records(head: "ctypes._Pointer[native.Device]"):
    record = head
    while record:
        yield record
        record = record.contents.next


def free_chain(session: Session, key: int) -> None:
    """Frees one device list once nothing refers to it: its open pads close first."""
    with session.lock:
        head = session.chains.pop(key, None)
    if head is None:
        return
    for record in chain_records(head):
        state = session.pads.get(ctypes.addressof(record.contents))
        if state is not None:
            close_pad(state)
    detach(lambda: native.zelnar.vantix_free_device_list(head), "free-list")


class Chain:
    """One device list from the library; freed once no PadInfo of it is left."""

    def __init__(self, library: "Library", head: "ctypes._Pointer[native.Device]") -> None:
        self.library = library  # the library stays started while its records are used
        self.key = add_chain(library._session, head)
        weakref.finalize(self, free_chain, library._session, self.key)


def stop(session: Session) -> None:
    """Closes the session's pads, frees its lists and stops the library."""
    global _current
    with session.lock:
        if not session.alive:
            return
        session.alive = False
        pads = list(session.pads.values())
        chains = list(session.chains.values())
        session.chains.clear()
        hotplug = session.hotplug_registered
    for state in pads:
        if close_pad(state):
            log.warning("vantix: closing %s failed: %s", state.record.contents.path, last_error())

    def teardown() -> None:
        if hotplug:
            native.zelnar.vantix_unregister_hotplug_callback(HOTPLUG_TRAMPOLINE)
        for head in chains:
            native.zelnar.vantix_free_device_list(head)
        native.zelnar.vantix_destroy()

    if _current is session:
        _current = None
    detach(teardown, "destroy")


def add_hotplug(session: Session, callback: Callable[..., object]) -> None:
    session.require()
    with session.lock:
        session.hotplug = session.hotplug + (callback,)
        register = not session.hotplug_registered
        session.hotplug_registered = True
    if register:
        native.zelnar.vantix_register_hotplug_callback(HOTPLUG_TRAMPOLINE)


def remove_hotplug(session: Session, callback: Callable[..., object]) -> None:
    with session.lock:
        session.hotplug = without_one(session.hotplug, callback)


def _on_input(device: Optional[int], report: Optional[int], kind: int, buffer: object, length: int) -> None:
    with _CallbackScope():
        try:
            state = _open_pads.get(device or 0)
            if state is None or state.closed:
                return
            raw = ctypes.string_at(buffer, length) if buffer and length else b""
            event = decode(report, kind, raw)
            for capture in state.captures:
                native.signature.vantix_signature_feed(capture.address, report, kind)  # type: ignore[attr-defined]
            for stream in state.streams:
                stream.put(event)  # type: ignore[attr-defined]
            for callback in state.callbacks:
                if state.closed:
                    break  # closed by an earlier callback: no calls after close
                call_safely("event callback", callback, event)
        except BaseException:  # noqa: B036
            log.exception("vantix: delivering input failed")


def _on_hotplug(kind: int, path: Optional[bytes]) -> None:
    with _CallbackScope():
        try:
            session = current()
            if session is None:
                return
            event = HotplugEvent(HotplugAction(kind), (path or b"").decode("utf-8", "replace"))
            for callback in session.hotplug:
                call_safely("hotplug callback", callback, event)
        except BaseException:  # noqa: B036
            log.exception("vantix: delivering a hotplug event failed")


# Module constants: alive as long as the module, longer than any registration.
INPUT_TRAMPOLINE = native.InputCallback(_on_input)
HOTPLUG_TRAMPOLINE = native.HotplugCallback(_on_hotplug)


@atexit.register
def _at_exit() -> None:
    # Read threads must end while the interpreter can still run callbacks.
    session = current()
    if session is not None:
        stop(session)
    wait_for_helpers()
