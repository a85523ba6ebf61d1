# SPDX-License-Identifier: Apache-2.0
"""A signing session through the public API, the events in order, the pad's records."""

import json

import vantix
import vantix.sim
from conftest import STROKES, Recorder, is_press, ok_button


def test_signing_session_saves_every_format(pad, pen, tmp_path):
    pad.draw_text("Please sign below", pad.display.width // 2, 1, vantix.Align.CENTER)
    signature = pad.capture()
    recorder = Recorder(until=lambda e: is_press(e, "OK"))
    pad.on_event(recorder)
    for stroke in STROKES:
        pen.stroke(stroke)
    pen.tap_display(*ok_button(pad).center)
    recorder.wait()
    assert signature.stroke_count == len(STROKES)
    assert signature.point_count == sum(map(len, STROKES))
    assert [(p.x, p.y) for p in signature.points()] == [xy for s in STROKES for xy in s]
    for suffix, head in (("svg", b"<?xml"), ("png", b"\x89PNG"), ("inkml", b"<?xml"), ("json", b"{")):
        signature.save(tmp_path / f"signature.{suffix}")
        assert (tmp_path / f"signature.{suffix}").read_bytes().startswith(head), suffix
    assert b"<svg" in signature.export("svg")
    document = json.loads(signature.export("json", space=vantix.Space.DIGITIZER))
    assert document  # parsed
    box = signature.bounding_box(vantix.Space.DIGITIZER)
    assert (box.left, box.top, box.right, box.bottom) == (300, 330, 1200, 650)


def test_events_arrive_in_order(pad, pen):
    stream = pad.events(timeout=10)
    pen.stroke(STROKES[1])
    pen.tap_display(*ok_button(pad).center)
    pen.swipe_card("B4111111111111111^DOE/JANE^2512", "4111111111111111=2512")
    seen = []
    for event in stream:
        seen.append(event)
        if isinstance(event, vantix.CardEvent):
            break
    stream.close()
    pen_events = [(e.x, e.y, e.down) for e in seen if isinstance(e, vantix.PenEvent)]
    assert pen_events == [(x, y, True) for x, y in STROKES[1]] + [(1200, 650, False)]
    buttons = [(e.action, e.caption) for e in seen if isinstance(e, vantix.ButtonEvent)]
    assert buttons == [(vantix.ButtonAction.DOWN, "OK"), (vantix.ButtonAction.PRESS, "OK")]
    card = seen[-1]
    assert card.tracks[:2] == (b"B4111111111111111^DOE/JANE^2512", b"4111111111111111=2512")
    assert card.statuses == (0, 0, 0)
    assert all(e.raw[0] == e.type for e in seen if not isinstance(e, vantix.ButtonEvent))


def test_pad_records(lib, pad):
    assert (pad.display.width, pad.display.height, pad.display.color_depth) == (240, 64, 1)
    assert pad.version.firmware == (2, 4, 1) and str(pad.version) == "2.4.1"
    assert pad.serial_number == "SIM0000001"
    assert len(pad.uuid) == 16
    caps = pad.capabilities
    assert caps.has_card_reader and caps.supports_screens
    assert caps.calibrated_range == (100, 3995, 50, 1041)
    assert [r.caption for r in pad.regions if r.type == vantix.RegionType.BUTTON] == ["OK", "Cancel"]
    assert pad.measure_text("OK")[0] > 0
    # Listings compare by pad, not by record.
    assert pad.info in lib.list_pads()
    assert len({info for info in lib.list_pads() + lib.list_pads()}) == len(lib.list_pads())


def test_show_image_reaches_the_display(pad, pen, tmp_path):
    black = bytes(16 * 8)
    pad.clear_screen()
    pad.show_image(black, 16, 8, x=4, y=4)
    pad.show_image(bytes([0, 0, 0, 255]) * 4, 2, 2, mode="RGBA")
    pen.write_png(tmp_path / "screen.png")
    assert (tmp_path / "screen.png").read_bytes().startswith(b"\x89PNG")
