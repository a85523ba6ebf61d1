# SPDX-License-Identifier: Apache-2.0
"""Input events: what a pad's pen, buttons and card reader report.

The library's input records are valid only during its callback, so every
event is copied into one of these immutable objects there.
"""

from __future__ import annotations

import ctypes
import enum
from dataclasses import dataclass
from typing import Optional, Tuple, Union

from . import _native as native

COORDINATE = 1
EXTENDED_COORDINATE = 2
CARD_SWIPE = 12
BUTTON_DOWN, BUTTON_MOVE, BUTTON_UP, BUTTON_PRESS = 250, 251, 252, 253


class ButtonAction(enum.IntEnum):
    """What the pen did on a button region (the library's button report IDs)."""

    DOWN = BUTTON_DOWN  #: the pen came down on the button
    MOVE = BUTTON_MOVE  #: it moves on it, still down
    UP = BUTTON_UP  #: it left the button while down
    PRESS = BUTTON_PRESS  #: it lifted on the button: a click


@dataclass(frozen=True)
class PenEvent:
    """A pen sample in digitizer units; ``region`` is the region under the pen, if the pad says."""

    type: int
    x: int
    y: int
    down: bool
    region: Optional[int]
    raw: bytes


@dataclass(frozen=True)
class ButtonEvent:
    """The pen on a button region: its number and caption."""

    type: int
    action: ButtonAction
    x: int
    y: int
    region: int
    caption: str
    raw: bytes


@dataclass(frozen=True)
class CardEvent:
    """A card swipe: the card format, each track's status and its bytes as the pad sent them."""

    type: int
    card_format: int
    statuses: Tuple[int, int, int]
    tracks: Tuple[bytes, bytes, bytes]
    raw: bytes


@dataclass(frozen=True)
class RawEvent:
    """Any other input report, undecoded."""

    type: int
    raw: bytes


class HotplugAction(enum.IntEnum):
    """What happened to a pad (the library's vantix_hotplug_type)."""

    ATTACHED = 0
    DETACHED = 1


@dataclass(frozen=True)
class HotplugEvent:
    """A pad appeared or was removed; ``path`` is the driver's name for it."""

    action: HotplugAction
    path: str


Event = Union[PenEvent, ButtonEvent, CardEvent, RawEvent]


def _track(data: "ctypes.Array[ctypes.c_uint8]") -> bytes:
    return bytes(data).rstrip(b"\0")


def decode(report_address: Optional[int], kind: int, raw: bytes) -> Event:
    """Copies the library's decoded record (valid only now) into an event."""
    if not report_address:
        return RawEvent(kind, raw)
    report = native.InputReport.from_address(report_address)
    if kind in (COORDINATE, EXTENDED_COORDINATE):
        if kind == EXTENDED_COORDINATE:
            sample, region = report.extended_coordinate, report.extended_coordinate.region
        else:
            sample, region = report.coordinate, None
        return PenEvent(kind, sample.x, sample.y, sample.sample_info.bytes[0] != 0, region, raw)
    if kind in (BUTTON_DOWN, BUTTON_MOVE, BUTTON_UP, BUTTON_PRESS):
        button = report.button
        number, caption = 0, ""
        if button.region:
            region = button.region.contents
            number = region.common.region_number
            caption = region.button.caption.decode("utf-8", "replace")
        return ButtonEvent(kind, ButtonAction(kind), button.x, button.y, number, caption, raw)
    if kind == CARD_SWIPE:
        card = report.card_swipe
        return CardEvent(
            kind,
            card.card_format,
            (card.track1_status, card.track2_status, card.track3_status),
            (_track(card.track1), _track(card.track2), _track(card.track3)),
            raw,
        )
    return RawEvent(kind, raw)
