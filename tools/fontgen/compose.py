#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Draft the built-in proportional font from hand-drawn base glyphs.

Letters with diacritics are composed from their base letter and the marks of
their canonical Unicode decomposition; everything else is drawn below. The
output is vantix-default.glyphs, which is then reviewed (and hand-fixed where
composition looks wrong) and committed: that file, not this script, is the
source of the generated tables.

    python3 tools/fontgen/compose.py tools/fontgen/vantix-default.glyphs

Metrics: capitals and ascenders 5 rows, x-height 4 rows, descenders 1 row.
"""
import os
import sys
import unicodedata

sys.path.insert(0, os.path.dirname(__file__))
import glyphfile  # noqa: E402

# Header: "<char or U+hex> <descent>", then the rows, then a blank line.
BASE = r"""
U+0000 1
#####
##.##
#.#.#
###.#
##.##
#####
##.##
#####

U+0020 0
...

! 0
#
#
#
.
#

" 0
#.#
#.#
...
...
...

# 0
.#.#.
#####
.#.#.
#####
.#.#.

$ 1
..#..
.####
#.#..
.###.
..#.#
####.
..#..

% 0
##..#
##.#.
..#..
.#.##
#..##

& 0
.#...
#.#..
.##.#
#..#.
.##.#

' 0
#
#
.
.
.

( 1
.#
#.
#.
#.
#.
.#

) 1
#.
.#
.#
.#
.#
#.

* 0
#.#
.#.
#.#
...
...

+ 0
.#.
###
.#.
...

, 1
.#
#.

- 0
###
...
...

. 0
#

/ 0
..#
..#
.#.
#..
#..

0 0
.##.
#..#
#.##
##.#
.##.

1 0
.#.
##.
.#.
.#.
###

2 0
.##.
#..#
..#.
.#..
####

3 0
###.
...#
.##.
...#
###.

4 0
..#.
.##.
#.#.
####
..#.

5 0
####
#...
###.
...#
###.

6 0
.##.
#...
###.
#..#
.##.

7 0
####
...#
..#.
.#..
.#..

8 0
.##.
#..#
.##.
#..#
.##.

9 0
.##.
#..#
.###
...#
.##.

: 0
#
.
.
#

; 1
.#
..
..
.#
#.

< 0
..#
.#.
#..
.#.
..#

= 0
###
...
###
...

> 0
#..
.#.
..#
.#.
#..

? 0
.##.
#..#
..#.
....
..#.

@ 1
.###.
#...#
#.###
#.#.#
#.###
#....
.###.

A 0
.##.
#..#
####
#..#
#..#

B 0
###.
#..#
###.
#..#
###.

C 0
.###
#...
#...
#...
.###

D 0
###.
#..#
#..#
#..#
###.

E 0
####
#...
###.
#...
####

F 0
####
#...
###.
#...
#...

G 0
.###
#...
#.##
#..#
.###

H 0
#..#
#..#
####
#..#
#..#

I 0
###
.#.
.#.
.#.
###

J 0
...#
...#
...#
#..#
.##.

K 0
#..#
#.#.
##..
#.#.
#..#

L 0
#...
#...
#...
#...
####

M 0
#...#
##.##
#.#.#
#...#
#...#

N 0
#..#
##.#
#.##
#..#
#..#

O 0
.##.
#..#
#..#
#..#
.##.

P 0
###.
#..#
###.
#...
#...

Q 0
.##.
#..#
#..#
#.#.
.#.#

R 0
###.
#..#
###.
#.#.
#..#

S 0
.###
#...
.##.
...#
###.

T 0
#####
..#..
..#..
..#..
..#..

U 0
#..#
#..#
#..#
#..#
.##.

V 0
#...#
#...#
.#.#.
.#.#.
..#..

W 0
#...#
#...#
#.#.#
##.##
#...#

X 0
#...#
.#.#.
..#..
.#.#.
#...#

Y 0
#...#
.#.#.
..#..
..#..
..#..

Z 0
####
...#
.##.
#...
####

[ 1
##
#.
#.
#.
#.
##

\ 0
#..
#..
.#.
..#
..#

] 1
##
.#
.#
.#
.#
##

^ 0
.#.
#.#
...
...
...

_ 1
####

` 0
#.
.#
..
..
..

a 0
.###
#..#
#..#
.###

b 0
#...
###.
#..#
#..#
###.

c 0
.##
#..
#..
.##

d 0
...#
.###
#..#
#..#
.###

e 0
.##.
####
#...
.###

f 0
..#
.#.
###
.#.
.#.

g 1
.###
#..#
#..#
.###
###.

h 0
#...
###.
#..#
#..#
#..#

i 0
#
.
#
#
#

j 1
..#
...
..#
..#
..#
##.

k 0
#...
#..#
#.#.
###.
#..#

l 0
#.
#.
#.
#.
.#

m 0
####.
#.#.#
#.#.#
#.#.#

n 0
###.
#..#
#..#
#..#

o 0
.##.
#..#
#..#
.##.

p 1
###.
#..#
#..#
###.
#...

q 1
.###
#..#
#..#
.###
...#

r 0
#.#
##.
#..
#..

s 0
.###
##..
..##
###.

t 0
.#.
###
.#.
.#.
..#

u 0
#..#
#..#
#..#
.###

v 0
#...#
#...#
.#.#.
..#..

w 0
#...#
#.#.#
#.#.#
.#.#.

x 0
#..#
.##.
.##.
#..#

y 1
#..#
#..#
#..#
.###
###.

z 0
####
..#.
.#..
####

{ 1
..#
.#.
##.
.#.
.#.
..#

| 1
#
#
#
#
#
#

} 1
#..
.#.
.##
.#.
.#.
#..

~ 0
.#.#
#.#.
....

U+00A0 0
...

¡ 1
#
.
#
#
#

¢ 0
..#.
.###
#.#.
.###
..#.

£ 0
..##
.#..
###.
.#..
####

¤ 0
#...#
.###.
.#.#.
.###.
#...#

¥ 0
#...#
.#.#.
#####
..#..
..#..

¦ 1
#
#
.
.
#
#

§ 2
.##
#..
.#.
#.#
.#.
..#
##.

¨ 0
#.#
...
...
...
...

© 1
.#####.
#.....#
#..##.#
#.#...#
#..##.#
#.....#
.#####.

ª 0
.##
#.#
.##
...
###

« 0
.#.#
#.#.
.#.#
....

¬ 0
####
...#
....

U+00AD 0
##
..
..

® 1
.#####.
#.....#
#.##..#
#.#.#.#
#.##..#
#.#.#.#
.#####.

¯ 0
####
....
....
....
....

° 0
.#.
#.#
.#.
...
...

± 0
.#.
###
.#.
...
###

² 0
##.
..#
.#.
###
...

³ 0
###
.##
..#
###
...

´ 0
.#
#.
..
..
..

µ 1
#..#
#..#
#..#
####
#...

¶ 0
.###
##.#
##.#
.#.#
.#.#

· 0
#
.
.

¸ 2
.#
##

¹ 0
.#
##
.#
.#
..

º 0
.#.
#.#
.#.
...
###

» 0
#.#.
.#.#
#.#.
....

¿ 1
..#.
....
.#..
#..#
.##.

Æ 0
.#####
#..#..
#####.
#..#..
#..###

Ð 0
.###.
.#..#
###.#
.#..#
.###.

× 0
#.#
.#.
#.#
...

Ø 0
.###
#.##
#.##
##.#
###.

Þ 0
#...
###.
#..#
###.
#...

ß 0
.##.
#..#
#.#.
#..#
#.##

æ 0
.#####.
#..####
#..#...
.######

ð 0
.###
..#.
.###
#..#
.##.

÷ 0
.#.
...
###
...
.#.

ø 0
.###
#.##
##.#
###.

þ 1
#...
###.
#..#
#..#
###.
#...

Đ 0
.###.
.#..#
###.#
.#..#
.###.

đ 0
...#.
..###
.###.
#..#.
#..#.
.###.

Ħ 0
.#..#.
######
.####.
.#..#.
.#..#.

ħ 0
#...
###.
#...
###.
#..#
#..#

ı 0
#
#
#
#

ȷ 1
..#
..#
..#
..#
##.

Ĳ 0
#...#
#...#
#...#
#.#.#
#..#.

ĸ 0
#..#
#.#.
###.
#..#

Ŀ 0
#...
#...
#.#.
#...
####

ŀ 0
#..
#..
#.#
#..
.#.

Ł 0
.#...
.#.#.
.##..
##...
.####

ł 0
.#.
.##
##.
.#.
..#

Ŋ 1
#..#
##.#
#.##
#..#
#..#
..#.

ŋ 1
###.
#..#
#..#
#..#
..#.

Œ 0
.######
#..#...
#..###.
#..#...
.######

œ 0
.##.##.
#..####
#..#...
.##.###

Ŧ 0
#####
..#..
.###.
..#..
..#..

ŧ 0
.#.
###
.#.
###
..#

ſ 0
..#
.#.
.#.
.#.
.#.

ƒ 1
..##
..#.
.###
..#.
..#.
##..

Ђ 1
####.
.#...
.###.
.#..#
.#..#
...#.

Є 0
.###
#...
###.
#...
.###

Љ 0
.###...
.#.#...
.#.###.
.#.#..#
#..###.

Њ 0
#..#...
#..#...
######.
#..#..#
#..###.

Ћ 0
####.
.#...
.###.
.#..#
.#..#

Џ 1
#..#
#..#
#..#
#..#
####
.##.

Б 0
####
#...
###.
#..#
###.

Г 0
####
#...
#...
#...
#...

Д 1
.###.
.#.#.
.#.#.
.#.#.
#####
#...#

Ж 0
#.#.#
#.#.#
.###.
#.#.#
#.#.#

З 0
###.
...#
.##.
...#
###.

И 0
#..#
#..#
#.##
##.#
#..#

Л 0
.###
.#.#
.#.#
.#.#
#..#

П 0
####
#..#
#..#
#..#
#..#

У 0
#..#
#..#
.###
...#
###.

Ф 0
.###.
#.#.#
#.#.#
.###.
..#..

Ц 1
#..#.
#..#.
#..#.
#..#.
#####
....#

Ч 0
#..#
#..#
.###
...#
...#

Ш 0
#.#.#
#.#.#
#.#.#
#.#.#
#####

Щ 1
#.#.#.
#.#.#.
#.#.#.
#.#.#.
######
.....#

Ъ 0
##...
.#...
.###.
.#..#
.###.

Ы 0
#...#
#...#
###.#
#.#.#
###.#

Ь 0
#...
#...
###.
#..#
###.

Э 0
###.
...#
.###
...#
###.

Ю 0
#..##.
#.#..#
###..#
#.#..#
#..##.

Я 0
.###
#..#
.###
.#.#
#..#

б 0
.###
#...
###.
#..#
.##.

в 0
###.
###.
#..#
###.

г 0
###
#..
#..
#..

д 1
.###.
.#.#.
.#.#.
#####
#...#

ж 0
#.#.#
.###.
.###.
#.#.#

з 0
###.
..#.
...#
###.

и 0
#..#
#.##
##.#
#..#

к 0
#..#
#.#.
###.
#..#

л 0
.###
.#.#
.#.#
#..#

м 0
#...#
##.##
#.#.#
#...#

н 0
#..#
####
#..#
#..#

п 0
####
#..#
#..#
#..#

т 0
#####
..#..
..#..
..#..

ф 1
..#..
.###.
#.#.#
#.#.#
.###.
..#..

ц 1
#..#.
#..#.
#..#.
#####
....#

ч 0
#..#
#..#
.###
...#

ш 0
#.#.#
#.#.#
#.#.#
#####

щ 1
#.#.#.
#.#.#.
#.#.#.
######
.....#

ъ 0
##...
.###.
.#..#
.###.

ы 0
#...#
###.#
#.#.#
###.#

ь 0
#...
###.
#..#
###.

э 0
###.
.###
...#
###.

ю 0
#..##.
#.#..#
###..#
#..##.

я 0
.###
#..#
.###
#..#

ђ 1
#...
###.
#...
###.
#..#
#..#
..#.

є 0
.###
###.
#...
.###

љ 0
.###...
.#.###.
.#.#..#
#..###.

њ 0
#..#...
######.
#..#..#
#..###.

ћ 0
#...
###.
#...
###.
#..#
#..#

џ 1
#..#
#..#
#..#
####
.##.

Ѡ 0
#...#
#...#
#.#.#
#.#.#
.#.#.

ѡ 0
#...#
#.#.#
#.#.#
.#.#.

Ѣ 0
.#...
###..
.#...
.###.
.#..#
.###.

ѣ 0
.#...
###..
.###.
.#..#
.###.

Ѧ 0
..#..
.#.#.
.###.
#.#.#
#.#.#

ѧ 0
..#..
.###.
#.#.#
#.#.#

Ѫ 0
#####
.#.#.
..#..
.###.
#.#.#

ѫ 0
#####
.#.#.
.###.
#.#.#

Ѱ 0
#.#.#
#.#.#
.###.
..#..
..#..

ѱ 1
..#..
#.#.#
#.#.#
#.#.#
.###.
..#..

Ѳ 0
.##.
#..#
####
#..#
.##.

ѳ 0
.##.
####
#..#
.##.

Ѵ 0
#..##
#..#.
.#.#.
.#.#.
..#..

ѵ 0
#..##
#..#.
.#.#.
..#..

Ѻ 0
.###.
#.#.#
#...#
#.#.#
.###.

ѻ 0
.###.
#.#.#
#.#.#
.###.

Ҁ 1
.###
#...
#...
.##.
..#.
..#.

ҁ 1
.##
#..
#..
.##
..#

҂ 0
..#
.##
.#.
##.
#..

U+0483 0
#.##
##.#
....
....
....

U+0484 0
.##
#..
...
...
...

U+0485 0
##
#.
..
..
..

U+0486 0
##
.#
..
..
..

U+0487 0
###
#.#
...
...
...

U+0488 1
..#.#..
.......
#.....#
.......
#.....#
.......
..#.#..

U+0489 1
..#.#..
.#...#.
#.....#
.......
#.....#
.#...#.
..#.#..

Ҍ 0
.#...
###..
.###.
.#..#
.###.

ҍ 0
.#..
###.
.###
.#.#
.###

Ҏ 0
###.
#..#
#.##
###.
#...

ҏ 1
###.
#..#
#.##
###.
#...

Ґ 0
...#
####
#...
#...
#...
#...

ґ 0
..#
###
#..
#..
#..

Ғ 0
.####
.#...
###..
.#...
.#...

ғ 0
.###
###.
.#..
.#..

Ҕ 1
####
#...
###.
#..#
#..#
..#.

ҕ 1
###.
#...
###.
#..#
..#.

U+20A7 0
###..#..
#..#####
###..#..
#....#..
#.....##

€ 1
..###
.#...
####.
.#...
####.
.#...
..###

← 0
..#....
.#.....
#######
.#.....
..#....

↑ 1
..#..
.###.
#.#.#
..#..
..#..
..#..
..#..
"""

# Marks: name -> rows. Variants keyed by the parity of the base width where one
# shape cannot be centred on both.
MARKS_ABOVE = {
    0x0300: {0: ["#.", ".#"]},                    # grave
    0x0301: {0: [".#", "#."]},                    # acute
    0x0302: {0: [".##.", "#..#"], 1: [".#.", "#.#"]},  # circumflex
    0x0303: {0: [".#.#", "#.#."]},                # tilde
    0x0304: None,                                 # macron: as wide as the base
    0x0306: {0: ["#..#", ".##."], 1: ["#.#", "###"]},  # breve
    0x0307: {0: ["#"]},                           # dot
    0x0308: {0: ["#..#"], 1: ["#.#"]},            # diaeresis
    0x0309: {0: ["##.", "..#", ".#."]},           # hook
    0x030A: {0: [".#.", "#.#", ".#."]},           # ring
    0x030B: {0: [".#..#", "#..#."]},              # double acute
    0x030C: {0: ["#.#", ".#."]},                  # caron
    0x030F: {0: ["#.#.", ".#.#"]},                # double grave
}
# (rows, gap to the base)
MARKS_BELOW = {
    0x0323: (["#"], 1),                           # dot below
    0x0325: ([".#.", "#.#", ".#."], 0),           # ring below
    0x0327: ([".#", "##"], 0),                    # cedilla
    0x0328: (["#.", ".#"], 0),                    # ogonek (right aligned)
    0x032D: ({0: [".##.", "#..#"], 1: [".#.", "#.#"]}, 1),  # circumflex below
    0x032E: ({0: ["#..#", ".##."], 1: ["#.#", "###"]}, 1),  # breve below
    0x0330: ([".#.#", "#.#."], 1),                # tilde below
    0x0331: (None, 1),                            # macron below
}
DOTLESS = {"i": "ı", "j": "ȷ", "і": "ı", "ј": "ȷ"}


class Glyph:
    def __init__(self, rows, descent):
        self.rows = [r for r in rows]
        self.descent = descent

    @property
    def width(self):
        return len(self.rows[0])

    @property
    def height(self):
        return len(self.rows)

    @property
    def ascent(self):
        return self.height - self.descent


def parse_base(text):
    glyphs = {}
    for block in text.strip("\n").split("\n\n"):
        lines = block.strip("\n").split("\n")
        key, descent = lines[0].split(" ")
        char = chr(int(key[2:], 16)) if key.startswith("U+") else key
        glyphs[char] = Glyph(lines[1:], int(descent))
    return glyphs


def ink_center(row):
    cols = [i for i, c in enumerate(row) if c == "#"]
    return (cols[0] + cols[-1]) / 2 if cols else (len(row) - 1) / 2


def pick(variants, width):
    if isinstance(variants, dict):
        return variants.get(width % 2, variants[0])
    return variants


def place(glyph, mark, x, top):
    """Draws mark rows into a copy of glyph, widening as needed; returns glyph."""
    width = max(glyph.width, x + len(mark[0]))
    rows = [r.ljust(width, ".") for r in glyph.rows]
    for dy, mrow in enumerate(mark):
        row = list(rows[top + dy])
        for dx, c in enumerate(mrow):
            if c == "#":
                row[x + dx] = "#"
        rows[top + dy] = "".join(row)
    return Glyph(rows, glyph.descent)


def add_above(base, mark_cp):
    variants = MARKS_ABOVE[mark_cp]
    mark = ["#" * max(base.width, 3)] if variants is None else pick(variants, base.width)
    top_row = next(r for r in base.rows if "#" in r)
    x = max(0, round(ink_center(top_row) - (len(mark[0]) - 1) / 2))
    x = min(x, max(0, base.width - len(mark[0])))
    blank = "." * base.width
    grown = Glyph([blank] * (len(mark) + 1) + base.rows, base.descent)
    return place(grown, mark, x, 0)


def add_below(base, mark_cp):
    variants, gap = MARKS_BELOW[mark_cp]
    mark = ["#" * base.width] if variants is None else pick(variants, base.width)
    bottom = base.rows[base.height - 1 - base.descent]
    if mark_cp == 0x0328:
        x = max(0, bottom.rfind("#") - len(mark[0]) + 1)
    else:
        x = max(0, round(ink_center(bottom) - (len(mark[0]) - 1) / 2))
    blank = "." * base.width
    extra = gap + len(mark) - base.descent
    rows = base.rows + [blank] * max(0, extra)
    top = base.ascent + gap
    return place(Glyph(rows, base.descent + max(0, extra)), mark, x, top)


def hcat(left, right, gap=1):
    ascent = max(left.ascent, right.ascent)
    descent = max(left.descent, right.descent)

    def pad(g):
        blank = "." * g.width
        return [blank] * (ascent - g.ascent) + g.rows + [blank] * (descent - g.descent)

    return Glyph([a + "." * gap + b for a, b in zip(pad(left), pad(right))], descent)


def compose(cp, glyphs):
    char = chr(cp)
    if char in glyphs:
        return glyphs[char]
    decomposition = unicodedata.decomposition(char)
    if not decomposition or decomposition.startswith("<"):
        raise KeyError(f"U+{cp:04X} {unicodedata.name(char, '?')} needs drawing")
    parts = [int(p, 16) for p in decomposition.split()]
    base_char = chr(parts[0])
    marks = parts[1:]
    if base_char in DOTLESS and any(m in MARKS_ABOVE for m in marks):
        base_char = DOTLESS[base_char]
    glyph = compose(ord(base_char), glyphs)
    for mark in marks:
        if mark == 0x0327 and base_char == "g":
            glyph = place(Glyph(["." * glyph.width] * 3 + glyph.rows, glyph.descent),
                          [".#", "##"], 1, 0)
        elif mark in MARKS_ABOVE:
            glyph = add_above(glyph, mark)
        else:
            glyph = add_below(glyph, mark)
    return glyph


def iotified(glyph, bar_row):
    rows = [("##" if i == bar_row else "#.") + r for i, r in enumerate(glyph.rows)]
    return Glyph(rows, glyph.descent)


def with_tail(glyph):
    """Cyrillic descender on the right: one column wider, one row deeper."""
    rows = [r + "." for r in glyph.rows]
    last = glyph.height - 1 - glyph.descent
    rows[last] = rows[last][:-1] + "#"
    rows.append("." * (glyph.width) + "#")
    return Glyph(rows, glyph.descent + 1)


def side_caron(glyph):
    tick = Glyph(["#", "#"] + ["."] * (glyph.ascent - 2), 0)
    return hcat(glyph, tick)


def mirror(glyph):
    return Glyph([r[::-1] for r in glyph.rows], glyph.descent)


def flip(glyph, descent):
    return Glyph(glyph.rows[::-1], descent)


def derived(g):
    """Glyphs built from others rather than drawn or decomposed."""
    out = {}
    out["→"] = mirror(g["←"])
    out["↓"] = flip(g["↑"], 1)
    out["ĳ"] = hcat(g["i"], g["j"])
    out["ŉ"] = hcat(g["'"], g["n"])
    out["ď"] = side_caron(g["d"])
    out["ť"] = side_caron(g["t"])
    out["ľ"] = Glyph(["#.#", "#.#", "#..", "#..", ".#."], 0)
    out["Ľ"] = Glyph(["#..#", "#..#", "#...", "#...", "####"], 0)
    small = {"1": [".#", "##", ".#", ".#"], "2": ["##.", "..#", ".#.", "###"],
             "3": ["###", ".##", "..#", "###"], "4": ["#.#", "###", "..#", "..#"]}
    for char, (num, den) in {"¼": ("1", "4"), "½": ("1", "2"), "¾": ("3", "4")}.items():
        canvas = Glyph(["." * 8] * 8, 1)
        canvas = place(canvas, small[num], 0, 0)
        canvas = place(canvas, small[den], 5, 4)
        canvas = place(canvas, ["#"], 7, 0)
        for y in range(8):
            canvas = place(canvas, ["#"], 7 - y, y)
        out[char] = canvas
    out["Ѥ"] = iotified(g["Є"], 2)
    out["ѥ"] = iotified(g["є"], 1)
    out["Ѩ"] = iotified(g["Ѧ"], 2)
    out["ѩ"] = iotified(g["ѧ"], 1)
    out["Ѭ"] = iotified(g["Ѫ"], 2)
    out["ѭ"] = iotified(g["ѫ"], 1)
    out["Ѯ"] = with_tail_center(add_above(g["З"], 0x0302))
    out["ѯ"] = with_tail_center(add_above(g["з"], 0x0302))
    out["Ѹ"] = hcat(g["О"] if "О" in g else g["O"], g["y"])
    out["ѹ"] = hcat(g["o"], g["y"])
    titlo = ["#.###", "###.#"]
    out["Ѽ"] = place(Glyph(["....."] * 3 + g["Ѡ"].rows, 0), titlo, 0, 0)
    out["ѽ"] = place(Glyph(["....."] * 3 + g["ѡ"].rows, 0), titlo, 0, 0)
    ot = ["###", ".#."]
    out["Ѿ"] = place(Glyph(["....."] * 3 + g["Ѡ"].rows, 0), ot, 1, 0)
    out["ѿ"] = place(Glyph(["....."] * 3 + g["ѡ"].rows, 0), ot, 1, 0)
    out["Ҋ"] = with_tail(add_above(g["И"], 0x0306))
    out["ҋ"] = with_tail(add_above(g["и"], 0x0306))
    out["Җ"] = with_tail(g["Ж"])
    out["җ"] = with_tail(g["ж"])
    out["Қ"] = with_tail(g["K"])
    out["қ"] = with_tail(g["к"])
    out["Ҙ"] = add_below(g["З"], 0x0327)
    out["ҙ"] = add_below(g["з"], 0x0327)
    return out


def with_tail_center(glyph):
    rows = glyph.rows + ["." * (glyph.width // 2) + "#" + "." * (glyph.width - glyph.width // 2 - 1)]
    return Glyph(rows, glyph.descent + 1)


# Cyrillic letters that share their shape with a Latin one.
SAME_SHAPE = {"А": "A", "В": "B", "Е": "E", "К": "K", "М": "M", "Н": "H", "О": "O",
              "Р": "P", "С": "C", "Т": "T", "Х": "X", "Ѕ": "S", "І": "I", "Ј": "J",
              "а": "a", "е": "e", "о": "o", "р": "p", "с": "c", "х": "x", "у": "y",
              "ѕ": "s", "і": "i", "ј": "j"}


def main():
    glyphs = parse_base(BASE)
    for cyr, lat in SAME_SHAPE.items():
        glyphs[cyr] = glyphs[lat]
    glyphs.update(derived(glyphs))
    out = []
    for cp in glyphfile.code_points():
        glyph = compose(cp, glyphs)
        combine = 1 if cp in (0xA8, 0xB8) else 0
        out.append(glyphfile.Glyph(cp, glyph.rows, glyph.descent, combine))
    glyphfile.check_default(out)
    glyphfile.write(sys.argv[1] if len(sys.argv) > 1 else "/dev/stdout", out)


if __name__ == "__main__":
    main()
