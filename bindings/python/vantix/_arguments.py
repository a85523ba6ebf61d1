# SPDX-License-Identifier: Apache-2.0
"""Arguments checked where they enter the binding.

ctypes truncates an integer that does not fit its C type and fails deep
inside with a text about something else when handed the wrong type, so each
public call checks its arguments first: a wrong type is a TypeError and a
value out of range a ValueError, both naming the parameter.
"""

from __future__ import annotations

import enum
import math
import operator
import os
from typing import Any, Iterable, Optional, Tuple, Type, TypeVar, Union

# The ranges of the C types the values travel in.
U16 = (0, 0xFFFF)
U32 = (0, 0xFFFF_FFFF)
U64 = (0, 0xFFFF_FFFF_FFFF_FFFF)
I32 = (-0x8000_0000, 0x7FFF_FFFF)

_Enum = TypeVar("_Enum", bound=enum.IntEnum)


def wrong_type(name: str, expected: str, value: object) -> TypeError:
    return TypeError(f"{name} must be {expected}, not {type(value).__name__}")


def integer(name: str, value: object, bounds: Tuple[int, int]) -> int:
    """An int (or anything with __index__, but not a bool) within ``bounds``, inclusive."""
    if isinstance(value, bool):
        raise wrong_type(name, "an int", value)
    try:
        number = operator.index(value)  # type: ignore[arg-type]
    except TypeError:
        raise wrong_type(name, "an int", value) from None
    low, high = bounds
    if not low <= number <= high:
        raise ValueError(f"{name} must be from {low} to {high}, not {number}")
    return number


def real(name: str, value: object, low: float = -math.inf) -> float:
    """A finite int or float, at least ``low``."""
    if isinstance(value, bool) or not isinstance(value, (int, float)):
        raise wrong_type(name, "a number", value)
    number = float(value)
    if not math.isfinite(number):
        raise ValueError(f"{name} must be a finite number, not {value!r}")
    if number < low:
        raise ValueError(f"{name} must be at least {low:g}, not {value!r}")
    return number


def text(name: str, value: object) -> str:
    if not isinstance(value, str):
        raise wrong_type(name, "a str", value)
    return value


def utf8(name: str, value: object) -> bytes:
    """A str as the library takes text."""
    return text(name, value).encode("utf-8")


def one_of(name: str, value: object, allowed: Iterable[str]) -> str:
    choices = tuple(allowed)
    if text(name, value) not in choices:
        raise ValueError(f"{name} must be one of {', '.join(choices)}, not {value!r}")
    return value  # type: ignore[return-value]


def member(name: str, value: object, kind: Type[_Enum]) -> _Enum:
    """A member of ``kind``, given as itself or its number."""
    number = integer(name, value, I32)
    try:
        return kind(number)
    except ValueError:
        names = ", ".join(f"{kind.__name__}.{m.name}" for m in kind)
        raise ValueError(f"{name} must be one of {names}, not {value!r}") from None


def data(name: str, value: object) -> memoryview:
    """Bytes-like data, as unsigned bytes."""
    try:
        return memoryview(value).cast("B")  # type: ignore[arg-type]
    except TypeError:
        raise wrong_type(name, "a bytes-like object", value) from None


def path(name: str, value: object) -> Union[str, bytes]:
    try:
        return os.fspath(value)  # type: ignore[arg-type]
    except TypeError:
        raise wrong_type(name, "a str, bytes or os.PathLike path", value) from None


def optional(check: Any, name: str, value: object, *args: Any) -> Optional[Any]:
    """None, or what ``check`` makes of the value."""
    return None if value is None else check(name, value, *args)
