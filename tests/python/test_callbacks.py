# SPDX-License-Identifier: Apache-2.0
"""Callbacks: exceptions are logged and never reach C; a pad or the library
may be closed from inside one; hotplug callbacks go through the trampoline."""

import ctypes
import logging
import threading

import vantix
import vantix.sim
from vantix import _core, _native
from conftest import STROKES, Recorder


def test_raising_callback_is_logged_and_delivery_goes_on(pad, pen, caplog):
    def broken(event):
        raise RuntimeError("callback failed")

    pad.on_event(broken)
    recorder = Recorder(until=lambda e: isinstance(e, vantix.PenEvent) and not e.down)
    pad.on_event(recorder)
    with caplog.at_level(logging.ERROR, logger="vantix"):
        pen.stroke(STROKES[1])
        events = recorder.wait()
    assert len(events) == len(STROKES[1]) + 1
    failures = [r for r in caplog.records if r.exc_info and r.exc_info[0] is RuntimeError]
    assert len(failures) == len(events)


def test_closing_the_pad_from_its_own_callback(pad, pen):
    calls = []
    closed = threading.Event()

    def close_on_first(event):
        calls.append(event)
        pad.close()
        closed.set()

    pad.on_event(close_on_first)
    later = pad.on_event(lambda event: calls.append("after close"))
    stream = pad.events(timeout=10)
    pen.stroke(STROKES[0])
    assert closed.wait(10)
    assert list(stream) == [calls[0]]  # the stream ends with the pad
    assert calls == [calls[0]] and not pad.is_open
    assert later is not None
    pad.close()  # a second close does nothing


def test_closing_the_library_from_a_callback(lib, pad, pen):
    done = threading.Event()

    def stop_everything(event):
        lib.close()
        done.set()

    pad.on_event(stop_everything)
    pen.stroke(STROKES[0])
    assert done.wait(10)
    assert not lib.is_open and not pad.is_open
    with vantix.Library() as again:  # waits for the teardown the callback left behind
        vantix.sim.register()
        assert [info.path for info in again.list_pads()] == ["sim:0"]


def test_hotplug_callbacks_run_through_the_trampoline(lib, caplog):
    received = []
    lib.on_hotplug(lambda event: 1 / 0)
    lib.on_hotplug(received.append)
    registered = _native.zelnar.vantix_get_device_callbacks().contents
    function = ctypes.cast(registered.first.contents.ptr, _native.HotplugCallback)
    with caplog.at_level(logging.ERROR, logger="vantix"):
        function(int(vantix.HotplugAction.DETACHED), b"sim:7")
    assert received == [vantix.HotplugEvent(vantix.HotplugAction.DETACHED, "sim:7")]
    assert any(r.exc_info and r.exc_info[0] is ZeroDivisionError for r in caplog.records)
    lib.remove_hotplug_callback(received.append)
    function(0, b"sim:8")
    assert len(received) == 1
    assert _core.HOTPLUG_TRAMPOLINE is not None


def test_a_callback_may_reopen_its_pad_and_read_on(pad, pen):
    reopened, recorder = {}, Recorder(until=lambda e: isinstance(e, vantix.PenEvent))

    def reopen(event):
        pad.close()
        reopened["pad"] = pad.info.open()
        reopened["pad"].on_event(recorder)

    pad.on_event(reopen)
    pen.pen(300, 300)
    pen.pen(310, 300)  # read by the thread the reopened pad started
    assert [e.x for e in recorder.wait()] == [310]
    reopened["pad"].close()
