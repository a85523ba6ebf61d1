#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""The layer check finds each kind of breach in a small made-up tree, and
passes the same tree once the breaches are gone."""

import pathlib
import subprocess
import sys
import tempfile

CHECK = pathlib.Path(__file__).with_name("check_layers.py")

CLEAN = {
    "src/lib.map": "LIB {\nglobal:\n  vantix_low;\n  vantix_high;\n  vantix_pasted;\nlocal:\n  *;\n};\n",
    "src/core/low.cpp": '#include "debug/log.hpp"\nextern "C" int vantix_low(void) { return 1; }\n',
    "src/display/high.cpp": ('#include "core/low.hpp"\n'
                             '// vantix_high(x) { in a comment is no definition\n'
                             'extern "C" int vantix_high(void) { return vantix_low(); }\n'
                             'extern "C" int vantix_pasted(void) { return 2; }\n'),
}

BREACHES = {
    # An include and a call that run up a layer, and a name made by pasting.
    "src/core/low.cpp": ('#include "display/high.hpp"\n'
                         'extern "C" int vantix_low(void) { return vantix_high(); }\n'),
    "src/display/high.cpp": ('#define EXPORT(n) extern "C" int vantix_##n(void) { return 2; }\n'
                             'extern "C" int vantix_high(void) { return 0; }\nEXPORT(pasted)\n'),
}


def run(files):
    with tempfile.TemporaryDirectory() as root:
        for name, text in files.items():
            path = pathlib.Path(root, name)
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_text(text)
        result = subprocess.run([sys.executable, CHECK, root], capture_output=True, text=True)
        return result.returncode, result.stdout


def main():
    code, out = run(CLEAN)
    assert code == 0, out
    code, out = run({**CLEAN, **BREACHES})
    expected = ["src/core/low.cpp:1: core includes the higher layer display",
                "src/core/low.cpp:2: core calls vantix_high, exported by the higher layer display",
                "vantix_pasted: exported, but no written-out definition"]
    assert code == 1, out
    for line in expected:
        assert line in out, f"missing {line!r} in:\n{out}"
    assert out.count("\n") == len(expected) + 1, out
    print("the layer check finds every breach")


if __name__ == "__main__":
    main()
