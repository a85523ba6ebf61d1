# SPDX-License-Identifier: Apache-2.0
"""The one exception the binding raises for failed calls."""

from __future__ import annotations

from typing import Callable


class VantixError(Exception):
    """A call into the pad library failed; ``str(error)`` is the library's text.

    ``message`` holds the text alone: the library's last-error text for a
    failed C call, or the binding's own for a misuse it refuses (a closed pad,
    a closed library).
    """

    def __init__(self, message: str) -> None:
        super().__init__(message)
        self.message = message


def text(raw: "bytes | None") -> str:
    """A C string as text; the library's texts may end in a newline."""
    return (raw or b"").decode("utf-8", "replace").rstrip("\n")


def check(succeeded: bool, last_error: Callable[[], "bytes | None"]) -> None:
    """Raises VantixError with the last-error text unless the call succeeded."""
    if not succeeded:
        raise VantixError(text(last_error()) or "The call failed without an error text.")
