#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Sign on the virtual pad and save the signature as SVG.

    python3 examples/python/sign.py [signature.svg]

The pad shows a prompt, a scripted pen signs three strokes and taps OK,
and the signature is written as SVG (the pad's screen beside it, as
pad-screen.png).
Run from a source checkout after building (cmake --build build), it uses
the binding beside it and the libraries of ./build; VANTIX_BUILD_DIR names
another build tree. With the packages installed (libvantix-zelnar2 and
python3-vantix, or pip install bindings/python beside the library) it
runs as it is, from any directory.
"""

import os
import sys
import threading
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent.parent
if (REPO / "bindings" / "python" / "vantix").is_dir():
    sys.path.insert(0, str(REPO / "bindings" / "python"))
if not any(os.environ.get(v) for v in ("VANTIX_BUILD_DIR", "VANTIX_LIBRARY", "VANTIX_PADSIM_LIBRARY")):
    if (REPO / "build" / "padsim" / "libvantix-padsim.so.2").exists():
        os.environ["VANTIX_BUILD_DIR"] = str(REPO / "build")

import vantix  # noqa: E402
import vantix.sim  # noqa: E402

# Digitizer coordinates between the prompt and the buttons.
STROKES = [
    [(300, 650), (420, 450), (540, 330), (660, 450), (780, 650), (900, 470)],
    [(1100, 350), (1150, 500), (1200, 650), (1300, 570), (1420, 410)],
    [(1700, 600), (1900, 580), (2100, 560), (2300, 550), (2500, 540), (2700, 530)],
]


def main() -> int:
    out = Path(sys.argv[1] if len(sys.argv) > 1 else "signature.svg")
    with vantix.Library() as lib:
        vantix.sim.register()
        with lib.open("sim:0") as pad:
            pad.clear_screen()
            pad.draw_text("Please sign below", pad.display.width // 2, 1, vantix.Align.CENTER)
            signature = pad.capture()
            ok = next(region for region in pad.regions if region.caption == "OK")
            pressed = threading.Event()

            @pad.on_event
            def on_event(event: vantix.Event) -> None:
                if isinstance(event, vantix.ButtonEvent) and event.action == vantix.ButtonAction.PRESS \
                        and event.region == ok.number:
                    pressed.set()

            pen = vantix.sim.VirtualPad.of(pad)
            for stroke in STROKES:
                pen.stroke(stroke)
            pen.tap_display(*ok.center)
            if not pressed.wait(10):
                print("no OK from the pad", file=sys.stderr)
                return 1
            signature.save(out)
            pen.write_png(out.with_name("pad-screen.png"))
    print(f"signature: {signature.point_count} points in {signature.stroke_count} strokes, saved to {out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
