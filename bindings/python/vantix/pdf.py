# SPDX-License-Identifier: Apache-2.0
"""Signing PDF documents with a signature captured on a pad
(libvantix-document, loaded when this module is first imported).

    import vantix.pdf

    document = vantix.pdf.Document("form.pdf")       # show document.title and
    print(document.title, document.short_digest)     # short_digest on the pad
    vantix.pdf.sign(signature, "form.pdf", "signed.pdf", field="Signature1",
                    recipients=["notary.crt"], sign_with="key.pem", cert="cert.pem")
    for field in vantix.pdf.verify("signed.pdf", key="notary.key"):
        print(field.field, field.valid, field.record_matches)

The signed file is the input followed by one incremental update holding
the ink, the sealed signature record (with ``recipients``) and, with
``sign_with`` and ``cert``, a PAdES signature. Certificates and keys are
paths, or their PEM or DER bytes.
"""

from __future__ import annotations

import ctypes
import os
from ctypes import POINTER, Structure, c_char_p, c_double, c_int, c_int64, c_size_t, c_uint, c_uint64, c_void_p
from dataclasses import dataclass
from typing import List, Optional, Sequence, Tuple

from . import _arguments as arg
from . import _loader
from . import _native as native
from .errors import VantixError, text
from .sealed import PathOrBytes, _Keep
from .signature import Signature


class _Placement(Structure):
    _fields_ = [("field", c_char_p), ("page", c_uint), ("x", c_double), ("y", c_double), ("width", c_double),
                ("height", c_double)]


class _SignOptions(Structure):
    _fields_ = [("placement", _Placement)] + [(name, c_char_p) for name in (
        "reason", "location", "name", "prompt", "pad_uuid", "pad_firmware")] + [
        ("recipients", c_void_p), ("recipient_count", c_size_t), ("signer_key", c_void_p),
        ("signer_cert", c_void_p), ("chain", c_void_p), ("chain_count", c_size_t), ("signing_time", c_int64)]


class _Signature(Structure):
    _fields_ = [("field", c_char_p), ("page", c_uint), ("is_signed", c_int)] + [
        (name, c_char_p) for name in ("signer", "reason", "location", "name", "time", "sub_filter")] + [
        ("covers_whole_file", c_int), ("signed_length", c_uint64), ("sha256", ctypes.c_ubyte * 32),
        ("valid", c_int), ("problem", c_char_p), ("has_record", c_int), ("record_matches", c_int),
        ("record_revision_length", c_uint64), ("record_problem", c_char_p)]


_P = c_void_p
_library = _loader.load(_loader.DOCUMENT)
native._declare(_library, {
    "vantix_document_open": (_P, [c_char_p]),
    "vantix_document_free": (None, [_P]),
    "vantix_document_title": (c_char_p, [_P]),
    "vantix_document_sha256": (c_int, [_P, _P]),
    "vantix_document_check_placement": (c_int, [_P, POINTER(_Placement)]),
    "vantix_document_sign": (c_int, [_P, _P, POINTER(_SignOptions), c_char_p]),
    "vantix_document_verify": (_P, [c_char_p, POINTER(native.SignatureMaterial)]),
    "vantix_document_report_count": (c_size_t, [_P]),
    "vantix_document_report_at": (POINTER(_Signature), [_P, c_size_t]),
    "vantix_document_report_free": (None, [_P]),
    "vantix_document_last_error": (c_char_p, []),
})

# The layout the tests compare with the C compiler's.
LAYOUTS = {
    "vantix_document_placement": _Placement,
    "vantix_document_sign_options": _SignOptions,
    "vantix_document_signature": _Signature,
}


def _fail() -> VantixError:
    return VantixError(text(_library.vantix_document_last_error()))


class Document:
    """A PDF opened for signing: its title and the digest the pad shows."""

    def __init__(self, path: "str | os.PathLike[str]") -> None:
        self._path = os.fsencode(arg.path("path", path))
        self._handle = _library.vantix_document_open(self._path)
        if not self._handle:
            raise _fail()
        digest = (ctypes.c_ubyte * 32)()
        _library.vantix_document_sha256(self._handle, digest)
        self.sha256: bytes = bytes(digest)
        self.title: str = text(_library.vantix_document_title(self._handle))

    def __del__(self) -> None:
        if getattr(self, "_handle", None):
            _library.vantix_document_free(self._handle)
            self._handle = None

    @property
    def short_digest(self) -> str:
        """The first 8 hex digits of the SHA-256, as the pad shows them."""
        return self.sha256[:4].hex()

    def check_placement(self, field: Optional[str] = None, page: Optional[int] = None,
                        rect: Optional[Tuple[float, float, float, float]] = None) -> None:
        """Raises VantixError when the signature cannot go there (before anyone signs)."""
        placement = _placement(field, page, rect)
        if _library.vantix_document_check_placement(self._handle, ctypes.byref(placement)) != native.SUCCESS:
            raise _fail()


def _placement(field: Optional[str], page: Optional[int],
               rect: Optional[Tuple[float, float, float, float]]) -> _Placement:
    placement = _Placement()
    placement.field = arg.optional(arg.utf8, "field", field)
    if (page is None) != (rect is None):
        raise TypeError("page and rect go together")
    if page is not None and rect is not None:
        if len(rect) != 4:
            raise ValueError("rect is (x, y, width, height)")
        placement.page = page
        placement.x, placement.y, placement.width, placement.height = (float(v) for v in rect)
    return placement


def _materials(keep: _Keep, name: str, values: Sequence[PathOrBytes]) -> Tuple[object, int]:
    if isinstance(values, (str, bytes, os.PathLike)):
        raise TypeError(f"{name} must be a list")
    records = [keep.material(name, v) for v in values]
    array = (native.SignatureMaterial * max(len(records), 1))(*records)
    keep.buffers.append(array)
    return ctypes.cast(array, c_void_p), len(records)


def sign(signature: Signature, document: "str | os.PathLike[str] | Document", out: "str | os.PathLike[str]", *,
         field: Optional[str] = None, page: Optional[int] = None,
         rect: Optional[Tuple[float, float, float, float]] = None, reason: Optional[str] = None,
         location: Optional[str] = None, name: Optional[str] = None, prompt: Optional[str] = None,
         recipients: Sequence[PathOrBytes] = (), sign_with: Optional[PathOrBytes] = None,
         cert: Optional[PathOrBytes] = None, chain: Sequence[PathOrBytes] = (), signing_time: int = 0) -> None:
    """Signs ``document`` with ``signature`` into ``out`` (written whole or not at all).

    The signature goes into the empty signature field ``field``, or a new
    field on ``page`` (from 1) at ``rect`` (x, y, width, height in points as
    the page is shown), or the first empty signature field."""
    opened = document if isinstance(document, Document) else Document(document)
    keep = _Keep()
    options = _SignOptions()
    options.placement = _placement(field, page, rect)
    for key, value in (("reason", reason), ("location", location), ("name", name), ("prompt", prompt)):
        setattr(options, key, arg.optional(arg.utf8, key, value))
    options.recipients, options.recipient_count = _materials(keep, "recipients", recipients)
    options.chain, options.chain_count = _materials(keep, "chain", chain)
    if (sign_with is None) != (cert is None):
        raise TypeError("sign_with and cert go together")
    if sign_with is not None:
        key, certificate = keep.material("sign_with", sign_with), keep.material("cert", cert)
        keep.buffers += [key, certificate]
        options.signer_key, options.signer_cert = ctypes.addressof(key), ctypes.addressof(certificate)
    options.signing_time = signing_time
    target = os.fsencode(arg.path("out", out))
    if _library.vantix_document_sign(opened._handle, signature._address, ctypes.byref(options), target) != \
            native.SUCCESS:
        raise _fail()


@dataclass(frozen=True)
class FieldCheck:
    """One signature field as verify() found it."""

    field: str
    page: int
    is_signed: bool
    signer: str
    reason: str
    location: str
    name: str
    time: str
    sub_filter: str
    covers_whole_file: bool
    signed_length: int
    sha256: bytes
    valid: bool
    problem: str
    has_record: bool
    record_matches: bool
    record_revision_length: int
    record_problem: str


def verify(path: "str | os.PathLike[str]", key: Optional[PathOrBytes] = None) -> List[FieldCheck]:
    """Every signature field of the PDF at ``path``; with ``key`` (a
    recipient's private key) the sealed records are opened and compared
    with the revisions they were sealed for."""
    keep = _Keep()
    material = keep.material("key", key) if key is not None else None
    report = _library.vantix_document_verify(os.fsencode(arg.path("path", path)),
                                             ctypes.byref(material) if material is not None else None)
    if not report:
        raise _fail()
    try:
        checks = []
        for index in range(_library.vantix_document_report_count(report)):
            s = _library.vantix_document_report_at(report, index).contents
            checks.append(FieldCheck(
                text(s.field), s.page, bool(s.is_signed), text(s.signer), text(s.reason), text(s.location),
                text(s.name), text(s.time), text(s.sub_filter), bool(s.covers_whole_file), s.signed_length,
                bytes(s.sha256), bool(s.valid), text(s.problem), bool(s.has_record), bool(s.record_matches),
                s.record_revision_length, text(s.record_problem)))
        return checks
    finally:
        _library.vantix_document_report_free(report)
