#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Draws every glyph of a .glyphs file into a PNG for visual review.

    python3 tools/fontgen/contact_sheet.py FONT.glyphs OUT.png [--scale 4] [--columns 32]

Glyphs sit on a shared baseline (light red) in a grid; ink is black. The PNG
is made with ImageMagick's convert from an intermediate PPM.
"""
import argparse
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(__file__))
import glyphfile  # noqa: E402

PAPER, INK, GRID, BASELINE = (255, 255, 255), (0, 0, 0), (200, 200, 200), (255, 190, 190)


def render(glyphs, columns, scale):
    ascent = max(g.height - g.descent for g in glyphs)
    descent = max(g.descent for g in glyphs)
    cell_w = max(g.width for g in glyphs) + 2
    cell_h = ascent + descent + 2
    rows = (len(glyphs) + columns - 1) // columns
    width, height = columns * cell_w + 1, rows * cell_h + 1
    pixels = [[PAPER] * width for _ in range(height)]
    for i, g in enumerate(glyphs):
        cx, cy = (i % columns) * cell_w, (i // columns) * cell_h
        for x in range(cell_w + 1):
            pixels[cy][cx + x] = GRID
            pixels[cy + cell_h][cx + x] = GRID
        for y in range(cell_h + 1):
            pixels[cy + y][cx] = GRID
            pixels[cy + y][cx + cell_w] = GRID
        base_y = cy + 1 + ascent
        for x in range(1, cell_w):
            pixels[base_y][cx + x] = BASELINE
        top = base_y - (g.height - g.descent)
        for y in range(g.height):
            for x in range(g.width):
                if g.ink(x, y):
                    pixels[top + y][cx + 1 + x] = INK
    return [[p for p in row for _ in range(scale)] for row in pixels for _ in range(scale)]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("glyphs")
    parser.add_argument("png")
    parser.add_argument("--scale", type=int, default=4)
    parser.add_argument("--columns", type=int, default=32)
    args = parser.parse_args()
    image = render(glyphfile.read(args.glyphs), args.columns, args.scale)
    with tempfile.NamedTemporaryFile(suffix=".ppm") as ppm:
        ppm.write(f"P6 {len(image[0])} {len(image)} 255\n".encode())
        ppm.write(bytes(c for row in image for p in row for c in p))
        ppm.flush()
        subprocess.run(["convert", ppm.name, args.png], check=True)


if __name__ == "__main__":
    main()
