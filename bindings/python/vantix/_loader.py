# SPDX-License-Identifier: Apache-2.0
"""Finding and loading the shared libraries the binding wraps.

Each library is loaded by its SONAME, as the dynamic linker finds it
(installed packages, ``LD_LIBRARY_PATH``). Environment variables override
that:

``VANTIX_LIBRARY``, ``VANTIX_SIGNATURE_LIBRARY``, ``VANTIX_PADSIM_LIBRARY``,
``VANTIX_DOCUMENT_LIBRARY``
    the path (or name) of one library;
``VANTIX_BUILD_DIR``
    a CMake build tree of libvantix-zelnar: every library is taken from
    where that build leaves it.

The pad library is loaded first, so the signature library and the virtual
pad, which name it by SONAME, bind to that same copy: one library, one
device list.
"""

from __future__ import annotations

import ctypes
import os
from typing import Dict

ZELNAR = "zelnar"
SIGNATURE = "signature"
PADSIM = "padsim"
DOCUMENT = "document"

_SONAMES = {
    ZELNAR: "libvantix-zelnar.so.2",
    SIGNATURE: "libvantix-signature.so.2",
    PADSIM: "libvantix-padsim.so.2",
    DOCUMENT: "libvantix-document.so.2",
}
_VARIABLES = {
    ZELNAR: "VANTIX_LIBRARY",
    SIGNATURE: "VANTIX_SIGNATURE_LIBRARY",
    PADSIM: "VANTIX_PADSIM_LIBRARY",
    DOCUMENT: "VANTIX_DOCUMENT_LIBRARY",
}
# Where a build tree keeps each library, relative to its top.
_BUILD_PATHS = {
    ZELNAR: "libvantix-zelnar.so.2",
    SIGNATURE: os.path.join("src", "signature", "libvantix-signature.so.2"),
    PADSIM: os.path.join("padsim", "libvantix-padsim.so.2"),
    DOCUMENT: os.path.join("src", "document", "libvantix-document.so.2"),
}
_HINTS = {
    ZELNAR: "install libvantix-zelnar2",
    SIGNATURE: "install libvantix-zelnar2",
    PADSIM: "install libvantix-zelnar2",
    DOCUMENT: "install libvantix-zelnar2",
}

_loaded: Dict[str, ctypes.CDLL] = {}


class LibraryNotFoundError(ImportError):
    """A library the binding needs cannot be loaded."""


def location(which: str) -> str:
    """Where ``which`` is loaded from, after the environment's overrides."""
    explicit = os.environ.get(_VARIABLES[which])
    if explicit:
        return explicit
    build = os.environ.get("VANTIX_BUILD_DIR")
    if build:
        return os.path.join(build, _BUILD_PATHS[which])
    return _SONAMES[which]


def load(which: str) -> ctypes.CDLL:
    """Loads one library once per process; LibraryNotFoundError says how to fix a failure."""
    if which in _loaded:
        return _loaded[which]
    if which != ZELNAR:
        load(ZELNAR)
    where = location(which)
    try:
        library = ctypes.CDLL(where)
    except OSError as error:
        raise LibraryNotFoundError(
            f"vantix: cannot load {_SONAMES[which]} ({error}); {_HINTS[which]}, "
            f"or set {_VARIABLES[which]} to its path (or VANTIX_BUILD_DIR to a build tree)"
        ) from error
    _loaded[which] = library
    return library
