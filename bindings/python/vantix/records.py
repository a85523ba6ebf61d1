# SPDX-License-Identifier: Apache-2.0
"""What a pad tells about itself, as plain immutable records."""

from __future__ import annotations

import enum
from dataclasses import dataclass
from typing import Optional, Tuple

from . import _native as native


class Align(enum.IntEnum):
    """Where the given x lies on text drawn on the pad."""

    LEFT = 0
    RIGHT = 1
    CENTER = 2


class RegionType(enum.IntEnum):
    """What a legacy region is."""

    CONTAINER = 0
    BUTTON = 1
    LINE = 2
    GRAPHIC = 3
    TEXT = 4
    NULL = 255


@dataclass(frozen=True)
class DisplayInfo:
    """The display (feature report 100), read when the pad was opened."""

    width: int
    height: int
    color_depth: int
    text_width: int
    text_height: int
    region_count: int
    max_caption_length: int

    @classmethod
    def from_native(cls, info: native.DisplayInfo) -> "DisplayInfo":
        return cls(info.width, info.height, info.color_depth, info.text_width, info.text_height,
                   info.region_count, info.max_caption_length)


@dataclass(frozen=True)
class FirmwareVersion:
    """Kernel and firmware versions (major, minor, release) and the digitizer chip's signature."""

    kernel: Tuple[int, int, int]
    firmware: Tuple[int, int, int]
    asic_signature: int

    @classmethod
    def from_native(cls, version: native.Version) -> "FirmwareVersion":
        return cls(tuple(version.kernel_version), tuple(version.firmware_version),  # type: ignore[arg-type]
                   version.asic_signature)

    def __str__(self) -> str:
        return ".".join(map(str, self.firmware))


@dataclass(frozen=True)
class Capabilities:
    """What the pad can do (feature report 11). Coordinates are digitizer units."""

    display_type: int
    display_width: int
    display_height: int
    color_depth: int
    brightness_levels: int
    contrast_levels: int
    digitizer_width: int
    digitizer_height: int
    coordinate_range: Tuple[int, int, int, int]  #: x min, x max, y min, y max
    calibrated_range: Tuple[int, int, int, int]  #: the part mapped onto the display
    card_reader: int  #: 0: none
    supports_screens: bool
    supported_reports: int
    coordinate_modes: int

    @property
    def has_card_reader(self) -> bool:
        return self.card_reader != 0

    @classmethod
    def from_native(cls, c: native.Capabilities) -> "Capabilities":
        return cls(
            c.display_id, c.display_width, c.display_height, c.color_depth, c.brightness_levels,
            c.contrast_levels, c.digitizer_width, c.digitizer_height,
            (c.coordinate_xmin, c.coordinate_xmax, c.coordinate_ymin, c.coordinate_ymax),
            (c.calibration_xmin, c.calibration_xmax, c.calibration_ymin, c.calibration_ymax),
            c.mag_reader_id, c.supports_screens_resources != 0, c.supported_reports, c.coordinate_modes)


@dataclass(frozen=True)
class Region:
    """A legacy region: its number, kind, box in display pixels and (buttons) caption."""

    number: int
    type: "RegionType | int"
    box: Tuple[int, int, int, int]  #: x1, y1, x2, y2, corners included
    visible: bool
    caption: Optional[str]

    @property
    def center(self) -> Tuple[int, int]:
        x1, y1, x2, y2 = self.box
        return (x1 + x2) // 2, (y1 + y2) // 2

    @classmethod
    def from_native(cls, info: native.RegionInfo) -> "Region":
        common = info.common
        kind = RegionType(common.region_type) if common.region_type in RegionType._value2member_map_ \
            else common.region_type
        caption = info.button.caption.decode("utf-8", "replace") if kind == RegionType.BUTTON else None
        return cls(common.region_number, kind, (common.x1, common.y1, common.x2, common.y2),
                   common.visible != 0, caption)
