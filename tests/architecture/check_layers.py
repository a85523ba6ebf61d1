#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Checks that calls in src/ follow the layer order.

Layers, bottom to top, are listed in LAYERS; a file belongs to the layer of
its first directory under src/. Three rules:

  1. No #include of a higher layer's header.
  2. No call to an exported function defined in a higher layer (such a call
     reaches up without showing in the include graph).
  3. Every name a linker map exports has a written-out definition (grep
     finds it; no name is made by token pasting).

Exits 1 and lists every breach, else prints a one-line summary.
"""

import pathlib
import re
import sys

LAYERS = ["support", "debug", "graphics", "core", "protocol", "input", "display", "platform", "lifecycle"]
# The libraries built on the public API: they may call anything exported by
# the pad library, and their own names must be written out too.
OUTSIDE = ["signature", "document"]

ROOT = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
SRC = ROOT / "src"
SOURCES = sorted(p for p in SRC.rglob("*") if p.suffix in (".cpp", ".hpp", ".h"))

COMMENT_OR_STRING = re.compile(r'//[^\n]*|/\*.*?\*/|"(?:\\.|[^"\\\n])*"|\'(?:\\.|[^\'\\\n])*\'', re.S)
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/', re.M)
NAME_CALL = re.compile(r"\b([A-Za-z_]\w*)\s*\(")
# An exported object (a driver table, a font): its type, its name, maybe an
# array bound, then its initialiser.
DATA_DEFINITION = re.compile(r"\b[A-Za-z_]\w*\s*\*?\s+([A-Za-z_]\w*)\s*(?:\[[^\]\n]*\])?\s*=\s*\{")


def layer_of(path):
    return path.relative_to(SRC).parts[0]


def rank(layer):
    return LAYERS.index(layer) if layer in LAYERS else None


def blank(match):
    # Keeps line numbers and the quotes of strings (an include's path is read
    # before this runs).
    text = match.group(0)
    return re.sub(r"[^\n]", " ", text)


def exported_names():
    names = set()
    for map_file in SRC.rglob("*.map"):
        text = COMMENT_OR_STRING.sub(blank, map_file.read_text())
        for line in text.splitlines():
            line = line.strip()
            if re.fullmatch(r"[A-Za-z_]\w*;", line):
                names.add(line[:-1])
    return names


def matching_paren(text, open_at):
    depth = 0
    for i in range(open_at, len(text)):
        if text[i] == "(":
            depth += 1
        elif text[i] == ")":
            depth -= 1
            if depth == 0:
                return i
    return len(text) - 1


def scan(text, names):
    """Yields (name, offset, is_definition) for every use of an exported name
    followed by an argument list."""
    for match in NAME_CALL.finditer(text):
        name = match.group(1)
        if name not in names:
            continue
        close = matching_paren(text, match.end() - 1)
        rest = text[close + 1:].lstrip()
        before = text[:match.start()].rstrip()
        # A definition: the argument list is followed by the body, and the
        # name is preceded by its return type, not by an operator or '('.
        is_definition = rest.startswith("{") and before[-1:] not in ("(", ",", "=", "!", "&", "|", "?", ":", ";", "{", "}", "+", "-") or (
            rest.startswith("{") and before.endswith("*"))
        yield name, match.start(), is_definition


def main():
    names = exported_names()
    texts = {p: COMMENT_OR_STRING.sub(lambda m: m.group(0) if m.group(0).startswith('"') else blank(m),
                                      p.read_text(errors="replace")) for p in SOURCES}
    breaches = []
    defined_in = {}
    for path, text in texts.items():
        code = COMMENT_OR_STRING.sub(blank, text)
        for name, _, is_definition in scan(code, names):
            if is_definition:
                defined_in.setdefault(name, path)
        for match in DATA_DEFINITION.finditer(code):
            if match.group(1) in names:
                defined_in.setdefault(match.group(1), path)

    for path, text in texts.items():
        layer = layer_of(path)
        own = rank(layer)
        relative = path.relative_to(ROOT)
        for match in INCLUDE.finditer(text):
            target = rank(match.group(1))
            if own is not None and target is not None and target > own:
                line = text.count("\n", 0, match.start()) + 1
                breaches.append(f"{relative}:{line}: {layer} includes the higher layer {match.group(1)}")
        if own is None:
            continue
        code = COMMENT_OR_STRING.sub(blank, text)
        for name, offset, is_definition in scan(code, names):
            home = defined_in.get(name)
            if is_definition or home is None:
                continue
            target = rank(layer_of(home))
            if target is not None and target > own:
                line = code.count("\n", 0, offset) + 1
                breaches.append(f"{relative}:{line}: {layer} calls {name}, exported by the higher layer "
                                f"{layer_of(home)} ({home.relative_to(ROOT)})")

    for name in sorted(names - defined_in.keys()):
        breaches.append(f"{name}: exported, but no written-out definition under src/")

    for breach in breaches:
        print(breach)
    if breaches:
        print(f"{len(breaches)} breach(es) of the layer order; layers, bottom to top: {' < '.join(LAYERS)}")
        return 1
    print(f"{len(SOURCES)} files, {len(names)} exported names: calls and includes follow "
          f"{' < '.join(LAYERS)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
