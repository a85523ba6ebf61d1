# SPDX-License-Identifier: Apache-2.0
"""vantix.sim.replay: a recorded pad answers and signs as it did; a bad file says why."""

import os
import re
from pathlib import Path

import pytest

import vantix
import vantix.sim
from conftest import Recorder, is_press

RECORDINGS = Path(os.environ.get("VANTIX_SOURCE_DIR", Path(__file__).parents[2])) / "tests" / "recordings"


@pytest.fixture
def replay_lib():
    vantix.sim.reset()
    with vantix.Library() as library:
        yield library


def test_a_replayed_pad_is_the_recorded_one_and_signs_from_its_input(replay_lib):
    replayed = vantix.sim.replay(RECORDINGS / "wide-pad.vxrec")
    with replay_lib.open(f"sim:{replayed.index}") as pad:
        assert (pad.display.width, pad.display.height) == (320, 80)
        assert pad.serial_number == "SIM0000001"
        signature = pad.capture()
        recorder = Recorder(until=lambda e: is_press(e, "OK"))
        pad.on_event(recorder)
        recorder.wait()
        assert signature.stroke_count == 5


@pytest.mark.parametrize("contents, says", [
    (b"", "not a pad recording: the file is empty"),
    (b"{}\n", "not a pad recording: its first line is not a vxrec header"),
    (b'{"kind":"header","format":"vxrec","version":3}\n', "the recording is format version 3, newer than this library reads (1)"),
])
def test_a_bad_file_is_refused_with_the_reason(replay_lib, tmp_path, contents, says):
    bad = tmp_path / "bad.vxrec"
    bad.write_bytes(contents)
    with pytest.raises(vantix.VantixError, match=re.escape(f"bad.vxrec: {says}")):
        vantix.sim.replay(bad)
    assert vantix.sim.pad_count() == 0
