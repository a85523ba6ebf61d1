# SPDX-License-Identifier: Apache-2.0
"""Reading and checking the .glyphs text format shared by the font tools.

One block per glyph, blocks separated by a blank line:

    U+0041 descent=0 combine=0
    .##.
    #..#

Rows run top to bottom, '#' is ink, '.' is paper.
"""
import re

HEADER = re.compile(r"^U\+([0-9A-Fa-f]{4,6}) descent=(\d+) combine=([01])$")


class Glyph:
    def __init__(self, code_point, rows, descent, combine=0):
        self.code_point = code_point
        self.rows = rows
        self.descent = descent
        self.combine = combine

    @property
    def width(self):
        return len(self.rows[0]) if self.rows else 0

    @property
    def height(self):
        return len(self.rows)

    def ink(self, x, y):
        return self.rows[y][x] == "#"


def read(path):
    glyphs = []
    with open(path, encoding="utf-8") as f:
        blocks = f.read().strip("\n").split("\n\n")
    for block in blocks:
        lines = block.strip("\n").split("\n")
        match = HEADER.match(lines[0])
        if not match:
            raise ValueError(f"{path}: bad glyph header {lines[0]!r}")
        rows = lines[1:]
        if not rows or any(len(r) != len(rows[0]) or set(r) - {"#", "."} for r in rows):
            raise ValueError(f"{path}: glyph {lines[0]!r} has ragged or invalid rows")
        glyphs.append(Glyph(int(match.group(1), 16), rows, int(match.group(2)), int(match.group(3))))
    return glyphs


def write(path, glyphs):
    with open(path, "w", encoding="utf-8") as f:
        for g in glyphs:
            f.write(f"U+{g.code_point:04X} descent={g.descent} combine={g.combine}\n")
            f.write("\n".join(g.rows) + "\n\n")


def code_points(with_replacement=True, with_nbsp=True):
    """The code point set of the built-in font, ascending."""
    ranges = [(0x20, 0x7E), (0xA0, 0x17F), (0x192, 0x192), (0x400, 0x49B),
              (0x1E00, 0x1E2B), (0x1EC8, 0x1EC9), (0x20A7, 0x20A7), (0x20AC, 0x20AC),
              (0x2190, 0x2193)]
    points = [cp for lo, hi in ranges for cp in range(lo, hi + 1)]
    if not with_nbsp:
        points.remove(0xA0)
    return ([0] if with_replacement else []) + points


def check_default(glyphs):
    """Raises ValueError unless glyphs satisfy the built-in font's limits."""
    if [g.code_point for g in glyphs] != code_points():
        raise ValueError("code point set differs from the built-in font's")
    for g in glyphs:
        name = f"U+{g.code_point:04X}"
        if not (1 <= g.width <= 9 and 1 <= g.height <= 10 and 0 <= g.descent <= 3):
            raise ValueError(f"{name}: {g.width}x{g.height} descent {g.descent} out of range")
        if g.descent > g.height or g.width * g.height > 72:
            raise ValueError(f"{name}: image too large or descent past the top")
        if g.combine != (1 if g.code_point in (0xA8, 0xB8) else 0):
            raise ValueError(f"{name}: wrong combine flag")
