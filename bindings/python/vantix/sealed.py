# SPDX-License-Identifier: Apache-2.0
"""Sealed signature records: a signature bound to the document it signs,
encrypted to recipients' certificates (Signature.seal), and opened again
with a recipient's key (open_sealed).

Documents are given as their bytes (any bytes-like object), as a path (str
or os.PathLike) or, by keyword, as their SHA-256 digest (``sha256=``).
Certificates and keys are paths, or their PEM or DER bytes.
"""

from __future__ import annotations

import ctypes
import datetime
import os
import weakref
from dataclasses import dataclass
from typing import Any, List, Optional, Sequence, Union

from . import _arguments as arg
from . import _core as core
from . import _native as native
from .errors import VantixError
from .signature import Signature, _Capture

PathOrBytes = Union[str, bytes, bytearray, memoryview, "os.PathLike[str]"]

_NO_MATCH = "The document does not match the signature record."
_DOCUMENT_NAME, _PROMPT, _PAD_UUID, _PAD_FIRMWARE, _LIBRARY_VERSION, _HOST_SIGNER = range(6)
_DOCUMENT_SHA256, _IMAGE_SHA256 = range(2)


def _fail() -> VantixError:
    return VantixError(core.signature_error())


class _Keep:
    """Holds the buffers the C records point at until the call returns."""

    def __init__(self) -> None:
        self.buffers: List[Any] = []

    def bytes_of(self, name: str, value: object) -> "ctypes.Array[ctypes.c_ubyte]":
        view = arg.data(name, value)
        buffer = (ctypes.c_ubyte * max(len(view), 1)).from_buffer_copy(view.tobytes() or b"\0")
        self.buffers.append(buffer)
        return buffer

    def path_of(self, name: str, value: object) -> bytes:
        return os.fsencode(arg.path(name, value))

    def document(self, document: object, sha256: object) -> native.SignatureDocument:
        if (document is None) == (sha256 is None):
            raise TypeError("give the document or its sha256, not both or neither")
        record = native.SignatureDocument()
        if sha256 is not None:
            if len(arg.data("sha256", sha256)) != 32:
                raise ValueError("sha256 must be 32 bytes")
            record.sha256 = ctypes.addressof(self.bytes_of("sha256", sha256))
        elif isinstance(document, (str, os.PathLike)):
            record.path = self.path_of("document", document)
        else:
            record.size = len(arg.data("document", document))
            record.data = ctypes.addressof(self.bytes_of("document", document))
        return record

    def material(self, name: str, value: object) -> native.SignatureMaterial:
        record = native.SignatureMaterial()
        if isinstance(value, (str, os.PathLike)):
            record.path = self.path_of(name, value)
        else:
            record.size = len(arg.data(name, value))
            record.data = ctypes.addressof(self.bytes_of(name, value))
        return record


def _taken(data: ctypes.c_void_p, size: ctypes.c_size_t) -> bytes:
    try:
        return ctypes.string_at(data.value, size.value)
    finally:
        native.signature.vantix_signature_free_buffer(data.value)


def seal_capture(address: int, document: object, sha256: object, document_name: Optional[str],
                 prompt: Optional[str], recipients: Sequence[PathOrBytes], sign_with: Optional[PathOrBytes],
                 cert: Optional[PathOrBytes]) -> bytes:
    """Signature.seal's work, on the capture at ``address``."""
    keep = _Keep()
    options = native.RecordOptions()
    options.document = keep.document(document, sha256)
    options.document_name = arg.optional(arg.utf8, "document_name", document_name)
    options.prompt = arg.optional(arg.utf8, "prompt", prompt)
    if isinstance(recipients, (str, bytes, os.PathLike)):
        raise TypeError("recipients must be a list of certificates")
    certificates = [keep.material("recipients", r) for r in recipients]
    materials = (native.SignatureMaterial * max(len(certificates), 1))(*certificates)
    if (sign_with is None) != (cert is None):
        raise TypeError("sign_with and cert go together")
    key = keep.material("sign_with", sign_with) if sign_with is not None else None
    host = keep.material("cert", cert) if cert is not None else None
    data, size = ctypes.c_void_p(), ctypes.c_size_t()
    if native.signature.vantix_signature_seal(
            address, ctypes.byref(options), materials, len(certificates),
            ctypes.byref(key) if key else None, ctypes.byref(host) if host else None,
            ctypes.byref(data), ctypes.byref(size)) != native.SUCCESS:
        raise _fail()
    return _taken(data, size)


@dataclass(frozen=True)
class RecordPad:
    """The pad a sealed record was signed on."""

    vendor_id: int
    product_id: int
    manufacturer: str
    model: str
    serial_number: str
    uuid: str  #: "" when the record has none
    firmware: str  #: "" when the record has none


def _utc(microseconds: int) -> datetime.datetime:
    return datetime.datetime.fromtimestamp(0, datetime.timezone.utc) + \
        datetime.timedelta(microseconds=microseconds)


class OpenedRecord:
    """A sealed record opened with a recipient's key (open_sealed)."""

    def __init__(self, address: int) -> None:
        self._address = address
        weakref.finalize(self, native.signature.vantix_signature_opened_free, address)

    def _text(self, field: int) -> str:
        return core.text(native.signature.vantix_signature_opened_text(self._address, field))

    def _digest(self, which: int) -> bytes:
        out = (ctypes.c_ubyte * 32)()
        if native.signature.vantix_signature_opened_digest(self._address, which, out) != native.SUCCESS:
            raise _fail()
        return bytes(out)

    def _times(self) -> "tuple[int, int]":
        start, end = ctypes.c_uint64(), ctypes.c_uint64()
        if native.signature.vantix_signature_opened_times(self._address, ctypes.byref(start),
                                                          ctypes.byref(end)) != native.SUCCESS:
            raise _fail()
        return start.value, end.value

    @property
    def document_name(self) -> str:
        return self._text(_DOCUMENT_NAME)

    @property
    def document_sha256(self) -> bytes:
        """The signed document's SHA-256 (32 bytes)."""
        return self._digest(_DOCUMENT_SHA256)

    @property
    def image_sha256(self) -> bytes:
        """The SHA-256 of the signature's SVG export with the default options."""
        return self._digest(_IMAGE_SHA256)

    @property
    def prompt(self) -> str:
        return self._text(_PROMPT)

    @property
    def library_version(self) -> str:
        """The version of the library that wrote the record."""
        return self._text(_LIBRARY_VERSION)

    @property
    def start(self) -> datetime.datetime:
        """When the signer set the pen down first (UTC)."""
        return _utc(self._times()[0])

    @property
    def end(self) -> datetime.datetime:
        """When the signer lifted the pen last (UTC)."""
        return _utc(self._times()[1])

    @property
    def pad(self) -> RecordPad:
        info = native.SignaturePadInfo()
        if native.signature.vantix_signature_opened_pad_info(self._address, ctypes.byref(info)) != native.SUCCESS:
            raise _fail()
        return RecordPad(info.vendor_id, info.product_id, core.text(info.manufacturer), core.text(info.model),
                         core.text(info.serial_number), self._text(_PAD_UUID), self._text(_PAD_FIRMWARE))

    @property
    def host_signer(self) -> Optional[str]:
        """The subject of the host certificate whose signature verified, None when unsigned.

        Whether to trust that host is the caller's call.
        """
        if not native.signature.vantix_signature_opened_host_signed(self._address):
            return None
        return self._text(_HOST_SIGNER)

    def matches(self, document: object = None, *, sha256: object = None) -> bool:
        """Whether ``document`` (bytes or a path; or its ``sha256``) is the one signed.

        A document that cannot be read raises VantixError.
        """
        keep = _Keep()
        record = keep.document(document, sha256)
        if native.signature.vantix_signature_opened_check_document(self._address, ctypes.byref(record)) \
                == native.SUCCESS:
            return True
        error = core.signature_error()
        if error == _NO_MATCH:
            return False
        raise VantixError(error)

    def capture(self) -> Signature:
        """The signature as a new capture, to save or export again."""
        address = native.signature.vantix_signature_opened_load_capture(self._address)
        if not address:
            raise _fail()
        return Signature(_Capture(address))

    def __repr__(self) -> str:
        return f"<OpenedRecord {self.document_name!r} sha256={self.document_sha256.hex()[:8]}...>"


def open_sealed(data: object, key: PathOrBytes, cert: Optional[PathOrBytes] = None) -> OpenedRecord:
    """Opens a sealed record (its bytes) with a recipient's private key (a path, or PEM/DER bytes).

    ``cert``, the recipient's certificate, is optional. A host signature is
    verified. Raises VantixError with the library's text: wrong key, not a
    sealed record, damaged, unsupported version.
    """
    keep = _Keep()
    sealed = arg.data("data", data)
    buffer = keep.bytes_of("data", sealed)
    key_record = keep.material("key", key)
    cert_record = keep.material("cert", cert) if cert is not None else None
    address = native.signature.vantix_signature_open_sealed(
        ctypes.addressof(buffer), len(sealed), ctypes.byref(key_record),
        ctypes.byref(cert_record) if cert_record else None)
    if not address:
        raise _fail()
    return OpenedRecord(address)
