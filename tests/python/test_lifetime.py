# SPDX-License-Identifier: Apache-2.0
"""Objects dropped in any order, with reading running, never crash; a
Library stays started while anything it handed out is alive."""

import gc
import itertools

import pytest

import vantix
import vantix.sim
from conftest import STROKES, Recorder

NAMES = ("lib", "info", "pad", "signature")


def session():
    vantix.sim.reset()
    lib = vantix.Library()
    vantix.sim.register()
    info = lib.list_pads()[0]
    pad = info.open()
    signature = pad.capture()
    recorder = Recorder(until=lambda e: isinstance(e, vantix.PenEvent) and not e.down)
    pad.on_event(recorder)
    vantix.sim.VirtualPad.of(pad).stroke(STROKES[1])
    recorder.wait()
    return {"lib": lib, "info": info, "pad": pad, "signature": signature}


@pytest.mark.parametrize("order", list(itertools.permutations(NAMES)), ids="-".join)
def test_dropping_in_any_order(order):
    objects = session()
    signature = objects["signature"]
    for name in order:
        if name == "signature":
            assert signature.export("svg").startswith(b"<?xml")  # usable until the very end
            signature = None
        del objects[name]
        gc.collect()
    # Everything went: the library stopped, so a new one starts.
    with vantix.Library():
        pass


def test_an_open_pad_with_callbacks_lives_until_its_library_closes():
    objects = session()
    lib, pad = objects.pop("lib"), objects["pad"]
    pad.on_event(lambda event, pad=pad: pad.info)  # pad -> callback -> pad
    objects.clear()
    del pad
    gc.collect()
    assert [info.path for info in lib.list_pads()] == ["sim:0"]
    lib.close()  # closes the pad, which releases its callbacks
    del lib
    gc.collect()
    with vantix.Library():
        pass


def test_closed_library_leaves_usable_python_objects():
    objects = session()
    objects["lib"].close()
    pad, signature = objects["pad"], objects["signature"]
    assert not pad.is_open and repr(pad).endswith("closed>")
    assert signature.point_count == len(STROKES[1])
    pad.close()
    with pytest.raises(vantix.VantixError):
        objects["info"].open()
