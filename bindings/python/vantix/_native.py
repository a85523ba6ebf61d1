# SPDX-License-Identifier: Apache-2.0
"""ctypes declarations of the C API: the records the binding reads and the
functions it calls, with their argument and result types. Layouts follow
include/vantix-zelnar.h and include/vantix-signature.h field by field
(tests compare them with the C compiler's)."""

from __future__ import annotations

import ctypes
from ctypes import (
    CFUNCTYPE,
    POINTER,
    Structure,
    Union,
    c_char,
    c_char_p,
    c_double,
    c_float,
    c_int,
    c_size_t,
    c_uint,
    c_uint8,
    c_uint16,
    c_uint32,
    c_uint64,
    c_ulong,
    c_void_p,
)

from . import _loader

c_enum = c_int  # the compiler gives these enums the size of int


class DisplayInfo(Structure):
    _fields_ = [
        ("report_id", c_uint8),
        ("width", c_uint16),
        ("height", c_uint16),
        ("color_depth", c_uint8),
        ("text_width", c_uint8),
        ("text_height", c_uint8),
        ("region_count", c_uint8),
        ("max_caption_length", c_uint8),
    ]


class Version(Structure):
    _fields_ = [
        ("report_id", c_uint8),
        ("kernel_version", c_uint8 * 3),
        ("firmware_version", c_uint8 * 3),
        ("asic_signature", c_uint16),
    ]


class Color(Structure):
    _fields_ = [("alpha", c_uint8), ("blue", c_uint8), ("green", c_uint8), ("red", c_uint8)]


class RegionCommon(Structure):
    _fields_ = [
        ("region_number", c_uint8),
        ("region_type", c_enum),
        ("accept_touch", c_uint8),
        ("decode", c_uint8),
        ("visible", c_uint8),
        ("in_use", c_uint8),
        ("has_frame", c_uint8),
        ("reserved_1", c_uint8),
        ("reserved_2", c_uint32),
        ("x1", c_uint16),
        ("x2", c_uint16),
        ("y1", c_uint16),
        ("y2", c_uint16),
        ("color_foreground", Color),
        ("color_background", Color),
    ]


class RegionContainer(Structure):
    _fields_ = [
        ("region_info", RegionCommon),
        ("ink_enable", c_uint8),
        ("reserved_1", c_uint8),
        ("reserved_2", c_uint8),
        ("reserved_3", c_uint16),
    ]


class RegionButton(Structure):
    _fields_ = [
        ("region_info", RegionCommon),
        ("parent", c_uint8),
        ("enable", c_uint8),
        ("highlight_on_select", c_uint8),
        ("clear_on_select", c_uint8),
        ("reserved", c_uint16),
        ("caption", c_char * 100),
    ]


class RegionLine(Structure):
    _fields_ = [
        ("region_info", RegionCommon),
        ("parent", c_uint8),
        ("width", c_uint8),
        ("reserved", c_uint16),
    ]


class RegionInfo(Union):
    _fields_ = [
        ("common", RegionCommon),
        ("container", RegionContainer),
        ("button", RegionButton),
        ("line", RegionLine),
    ]


class OsParams(Structure):
    _fields_ = [
        ("handle", c_int),
        ("interrupted", c_uint8),
        ("readUntilDoneThread", c_ulong),  # pthread_t
        ("hid_report_map", c_uint8 * 255),
    ]


class Device(Structure):
    pass


GetNameFunc = CFUNCTYPE(c_char_p)


class Driver(Structure):
    # Only the leading entries up to get_name are read.
    _fields_ = [(name, c_void_p) for name in (
        "driver_init", "driver_destroy", "open_device", "close_device", "list_devices",
        "device_read", "set_output_report", "set_feature_report", "get_feature_report")] + [
        ("get_name", GetNameFunc),
    ]


Device._fields_ = [
    ("path", c_char_p),
    ("product_id", c_uint16),
    ("vendor_id", c_uint16),
    ("model", c_char_p),
    ("manufacturer", c_char_p),
    ("uuid", POINTER(c_uint8)),
    ("open", c_uint8),
    ("button_down", c_uint8),
    ("last_button", c_uint8),
    ("display_info", DisplayInfo),
    ("version_info", Version),
    ("regions", POINTER(RegionInfo)),
    ("input_callbacks", c_void_p),
    ("user_defined", c_void_p),
    ("next", POINTER(Device)),
    ("driver", POINTER(Driver)),
    ("driver_defined", c_void_p),
    ("font", c_void_p),
    ("parameters", OsParams),
]
DevicePtr = POINTER(Device)


class Capabilities(Structure):
    _fields_ = [
        ("report_id", c_uint8),
        ("supported_reports", c_uint16),
        ("coordinate_modes", c_uint8),
        ("reserved1", c_uint8),
        ("display_id", c_enum),
        ("brightness_levels", c_uint8),
        ("contrast_levels", c_uint8),
        ("color_depth", c_uint8),
    ] + [(name, c_uint16) for name in (
        "display_width", "display_height", "digitizer_width", "digitizer_height",
        "coordinate_xmin", "coordinate_xmax", "coordinate_ymin", "coordinate_ymax",
        "calibration_xmin", "calibration_xmax", "calibration_ymin", "calibration_ymax")] + [
        ("reserved_4", c_uint32),
        ("reserved_5", c_uint32),
        ("mag_reader_id", c_enum),
        ("reserved_6", c_uint8),
        ("reserved_7", c_uint16),
        ("supports_screens_resources", c_uint8),
        ("reserved_9", c_uint8),
        ("reserved_10", c_uint32),
        ("reserved_11", c_uint32),
        ("reserved_12", c_uint32),
        ("reserved_13", c_uint32),
        ("reserved_14", c_uint32),
    ]


class SerialNumber(Structure):
    _fields_ = [
        ("report_id", c_uint8),
        ("serial_number", c_uint8 * 32),
        ("write_key_1", c_uint8),
        ("write_key_2", c_uint8),
    ]


class SampleInfo(Union):
    _fields_ = [("bytes", c_uint8 * 5)]  # down, reserved, data_source, ... (touch view: 5 bytes)


class InputCoordinate(Structure):
    _fields_ = [("report_id", c_uint8), ("sample_info", SampleInfo), ("x", c_uint16), ("y", c_uint16)]


class InputExtendedCoordinate(Structure):
    _fields_ = [
        ("report_id", c_uint8),
        ("sample_info", SampleInfo),
        ("x", c_uint16),
        ("y", c_uint16),
        ("region", c_uint8),
    ]


class InputCardSwipe(Structure):
    _fields_ = [
        ("report_id", c_uint8),
        ("card_format", c_enum),
        ("track1_status", c_enum),
        ("track2_status", c_enum),
        ("track3_status", c_enum),
        ("track1", c_uint8 * 79),
        ("track2", c_uint8 * 40),
        ("track3", c_uint8 * 107),
    ]


class InputButton(Structure):
    _fields_ = [("report_id", c_uint8), ("x", c_uint16), ("y", c_uint16), ("region", POINTER(RegionInfo))]


class InputReport(Union):
    # Only the members the binding decodes; the others are handed on raw.
    _fields_ = [
        ("report_id", c_uint8),
        ("coordinate", InputCoordinate),
        ("extended_coordinate", InputExtendedCoordinate),
        ("card_swipe", InputCardSwipe),
        ("button", InputButton),
    ]


class Bitmap(Structure):
    _fields_ = [
        ("bitmap", c_void_p),
        ("raster", c_void_p),
        ("width", ctypes.c_int32),
        ("height", ctypes.c_int32),
        ("headerSize", ctypes.c_int32),
        ("arraySize", ctypes.c_int32),
        ("totalSize", ctypes.c_int32),
        ("rowSize", ctypes.c_int32),
    ]


class ListItem(Structure):
    pass


ListItem._fields_ = [("ptr", c_void_p), ("next", POINTER(ListItem)), ("prev", POINTER(ListItem))]


class List(Structure):
    _fields_ = [("first", POINTER(ListItem)), ("last", POINTER(ListItem))]


# The signature library's records.
class SignaturePadInfo(Structure):
    _fields_ = [
        ("vendor_id", c_uint16),
        ("product_id", c_uint16),
        ("manufacturer", c_char * 64),
        ("model", c_char * 64),
        ("serial_number", c_char * 32),
    ] + [(name, c_uint16) for name in (
        "x_min", "x_max", "y_min", "y_max", "active_x_min", "active_x_max", "active_y_min",
        "active_y_max", "display_width", "display_height")]


class SignaturePoint(Structure):
    _fields_ = [
        ("x", c_uint16),
        ("y", c_uint16),
        ("pressure", c_float),
        ("time_us", c_uint64),
        ("stroke", c_uint32),
    ]


class SignatureBox(Structure):
    _fields_ = [("left", c_double), ("top", c_double), ("right", c_double), ("bottom", c_double)]


class ExportOptions(Structure):
    _fields_ = [
        ("space", c_enum),
        ("width", c_uint32),
        ("height", c_uint32),
        ("line_width", c_double),
        ("pressure_width", c_int),
    ]


class SignatureDocument(Structure):
    _fields_ = [("sha256", c_void_p), ("data", c_void_p), ("size", c_size_t), ("path", c_char_p)]


class RecordOptions(Structure):
    _fields_ = [("document", SignatureDocument)] + [(name, c_char_p) for name in (
        "document_name", "prompt", "pad_serial_number", "pad_uuid", "pad_firmware")]


class SignatureMaterial(Structure):
    _fields_ = [("path", c_char_p), ("data", c_void_p), ("size", c_size_t)]


InputCallback = CFUNCTYPE(None, c_void_p, c_void_p, c_uint8, POINTER(c_uint8), c_uint)
HotplugCallback = CFUNCTYPE(None, c_enum, c_char_p)

# Structures whose layout the tests compare with the C compiler's: C name -> class.
LAYOUTS = {
    "vantix_hid_feature_display_info": DisplayInfo,
    "vantix_hid_feature_version": Version,
    "vantix_device_region_common": RegionCommon,
    "vantix_device_region_button": RegionButton,
    "vantix_device_region_info": RegionInfo,
    "vantix_device": Device,
    "vantix_hid_capabilities": Capabilities,
    "vantix_hid_feature_serial_number": SerialNumber,
    "vantix_hid_input_coordinate": InputCoordinate,
    "vantix_hid_input_extended_coordinate": InputExtendedCoordinate,
    "vantix_hid_input_card_swipe": InputCardSwipe,
    "vantix_hid_input_button": InputButton,
    "vantix_bitmap": Bitmap,
    "vantix_signature_pad_info": SignaturePadInfo,
    "vantix_signature_point": SignaturePoint,
    "vantix_signature_box": SignatureBox,
    "vantix_signature_export_options": ExportOptions,
    "vantix_signature_document": SignatureDocument,
    "vantix_signature_record_options": RecordOptions,
    "vantix_signature_material": SignatureMaterial,
    "vantix_device_driver": Driver,
}


def _declare(library: ctypes.CDLL, table: dict) -> None:
    for name, (restype, argtypes) in table.items():
        function = getattr(library, name)
        function.restype = restype
        function.argtypes = argtypes


P = c_void_p  # opaque pointers travel as plain addresses

zelnar = _loader.load(_loader.ZELNAR)
_declare(zelnar, {
    "vantix_init": (None, []),
    "vantix_destroy": (None, []),
    "vantix_get_last_error": (c_char_p, []),
    "vantix_get_zelnar_version": (c_char_p, []),
    "vantix_list_devices": (c_int, [POINTER(DevicePtr)]),
    "vantix_free_device_list": (None, [DevicePtr]),
    "vantix_open_device": (c_int, [DevicePtr]),
    "vantix_close_device": (c_int, [DevicePtr]),
    "vantix_device_read_until_done": (None, [DevicePtr]),
    "vantix_register_input_callback": (None, [DevicePtr, InputCallback]),
    "vantix_register_hotplug_callback": (None, [HotplugCallback]),
    "vantix_unregister_hotplug_callback": (None, [HotplugCallback]),
    "vantix_get_device_callbacks": (POINTER(List), []),
    "vantix_get_capabilities_ref": (None, [DevicePtr, POINTER(Capabilities)]),
    "vantix_get_serial_number_ref": (None, [DevicePtr, POINTER(SerialNumber)]),
    "vantix_device_draw_text": (c_int, [DevicePtr, c_char_p, c_uint, c_uint, c_enum, c_uint8]),
    "vantix_measure_text_width": (c_uint, [DevicePtr, c_char_p]),
    "vantix_measure_text_height": (c_uint, [DevicePtr, c_char_p]),
    "vantix_clear_screen": (c_int, [DevicePtr]),
    "vantix_bitmap_init": (None, [POINTER(Bitmap), P, ctypes.c_int32, ctypes.c_int32]),
    "vantix_set_pixel": (None, [POINTER(Bitmap), ctypes.c_int32, ctypes.c_int32, c_uint32]),
    "vantix_transfer_bitmap_to_device": (c_int, [DevicePtr, POINTER(Bitmap), c_uint, c_uint, c_int]),
})

signature = _loader.load(_loader.SIGNATURE)
_declare(signature, {
    "vantix_signature_capture_new": (P, [DevicePtr]),
    "vantix_signature_capture_new_with_info": (P, [POINTER(SignaturePadInfo)]),
    "vantix_signature_capture_free": (None, [P]),
    "vantix_signature_get_pad_info": (c_int, [P, POINTER(SignaturePadInfo)]),
    "vantix_signature_feed": (c_int, [P, P, c_uint8]),
    "vantix_signature_add_point": (c_int, [P, c_uint16, c_uint16, c_float, c_int, c_uint64]),
    "vantix_signature_clear": (None, [P]),
    "vantix_signature_undo_stroke": (c_int, [P]),
    "vantix_signature_point_count": (c_size_t, [P]),
    "vantix_signature_stroke_count": (c_size_t, [P]),
    "vantix_signature_get_point": (c_int, [P, c_size_t, POINTER(SignaturePoint)]),
    "vantix_signature_bounding_box": (c_int, [P, c_enum, POINTER(SignatureBox)]),
    "vantix_signature_default_options": (None, [POINTER(ExportOptions)]),
    "vantix_signature_free_buffer": (None, [P]),
    "vantix_signature_last_error": (c_char_p, []),
    # The sealed record.
    "vantix_signature_seal": (c_int, [P, POINTER(RecordOptions), POINTER(SignatureMaterial), c_size_t,
                                      POINTER(SignatureMaterial), POINTER(SignatureMaterial), POINTER(P),
                                      POINTER(c_size_t)]),
    "vantix_signature_open_sealed": (P, [P, c_size_t, POINTER(SignatureMaterial), POINTER(SignatureMaterial)]),
    "vantix_signature_opened_free": (None, [P]),
    "vantix_signature_opened_text": (c_char_p, [P, c_enum]),
    "vantix_signature_opened_digest": (c_int, [P, c_enum, P]),
    "vantix_signature_opened_times": (c_int, [P, POINTER(c_uint64), POINTER(c_uint64)]),
    "vantix_signature_opened_pad_info": (c_int, [P, POINTER(SignaturePadInfo)]),
    "vantix_signature_opened_host_signed": (c_int, [P]),
    "vantix_signature_opened_check_document": (c_int, [P, POINTER(SignatureDocument)]),
    "vantix_signature_opened_load_capture": (P, [P]),
})
EXPORTERS = ("svg", "png", "inkml", "json")
_declare(signature, {
    f"vantix_signature_export_{kind}_buffer": (
        c_int, [P, POINTER(ExportOptions), POINTER(P), POINTER(c_size_t)])
    for kind in EXPORTERS
})

SUCCESS = 1
