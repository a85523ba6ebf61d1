#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Checks that calls in src/ follow the layer order.

Layers, bottom to top, are listed in LAYERS; a file belongs to the layer of
its first directory under src/. Three rules:

  1. No #include of a higher layer's header.
  2. No call to an exported function defined in a higher layer (such a call
     reaches up without showing in the include graph).
  3. Every name a linker map (of src/ and padsim/) exports has a
     written-out definition, so grep finds it: no name is made by token
     pasting.

Exits 1 and lists every breach, else prints a one-line summary.
"""

import pathlib
import re
import sys

LAYERS = ["support", "debug", "graphics", "core", "protocol", "input", "display", "platform", "lifecycle"]
# Directories of src/ not in LAYERS (the signature and document libraries)
# are built on the public API: only rule 3 applies to them.

ROOT = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
SRC = ROOT / "src"
# Where exported names are defined: the libraries under src/ and the
# virtual pad's library.
LIBRARIES = [SRC, ROOT / "padsim"]
SOURCES = sorted(p for d in LIBRARIES for p in d.rglob("*") if p.suffix in (".cpp", ".hpp", ".h"))

COMMENT_OR_STRING = re.compile(r'//[^\n]*|/\*.*?\*/|"(?:\\.|[^"\\\n])*"|\'(?:\\.|[^\'\\\n])*\'', re.S)
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/', re.M)
USE = re.compile(r"\b([A-Za-z_]\w*)\s*([(=\[{])")


def layer_of(path):
    return path.relative_to(SRC).parts[0] if path.is_relative_to(SRC) else None


def rank(layer):
    return LAYERS.index(layer) if layer in LAYERS else None



def blank(match):
    # Keeps line numbers and the quotes of strings (an include's path is read
    # before this runs).
    text = match.group(0)
    return re.sub(r"[^\n]", " ", text)


def exported_names():
    names = set()
    for map_file in (m for d in LIBRARIES for m in d.rglob("*.map")):
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


def after_type(text, offset):
    """Whether the name at `offset` follows a type (a return or variable
    type ends in a name character, '*' or '&'), not an operator or a
    statement boundary."""
    before = text[:offset].rstrip()
    if not before or before[-1] not in "*&" and not (before[-1].isalnum() or before[-1] == "_"):
        return False
    word = re.search(r"(\w+)$", before)
    return not (word and word.group(1) in ("return", "case", "else", "do", "throw", "co_return"))


def scan(text, names):
    """Yields (name, offset, is_definition) for every use of an exported name:
    a function name followed by its argument list, or a variable's
    definition."""
    for match in USE.finditer(text):
        name = match.group(1)
        if name not in names:
            continue
        if match.group(2) == "(":
            close = matching_paren(text, match.end() - 1)
            body = re.match(r"\s*(?:noexcept\s*)?\{", text[close + 1:])
            yield name, match.start(), bool(body) and after_type(text, match.start())
        elif after_type(text, match.start()):
            yield name, match.start(), True


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
