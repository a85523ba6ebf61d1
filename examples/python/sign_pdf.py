#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Sign a PDF on the virtual pad: the ink in the document, the sealed pen
data inside it, a PAdES signature over it; then check it.

    python3 examples/python/sign_pdf.py IN.pdf OUT.pdf KEY CERT NOTARY_CERT NOTARY_KEY

The pad shows the document's title and the first 8 hex digits of its
SHA-256, a scripted pen signs and taps OK, and the signature goes into the
first empty signature field (or a new one at the bottom left of page 1).
Run from a source checkout after building, or with the packages installed,
as examples/python/sign.py.
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
import vantix.pdf  # noqa: E402
import vantix.sim  # noqa: E402

# A scripted signature, in digitizer coordinates between the prompt and the buttons.
STROKE = [(300, 650), (420, 450), (540, 330), (660, 450), (780, 650), (900, 470), (1300, 570), (1800, 500)]


def capture(document: vantix.pdf.Document) -> vantix.Signature:
    with vantix.Library() as lib:
        vantix.sim.register()
        with lib.open("sim:0") as pad:
            pad.clear_screen()
            pad.draw_text(f"{document.title} {document.short_digest}", pad.display.width // 2, 1,
                          vantix.Align.CENTER)
            pad.draw_text("Please sign below", pad.display.width // 2, 12, vantix.Align.CENTER)
            signature = pad.capture()
            ok = next(region for region in pad.regions if region.caption == "OK")
            pressed = threading.Event()

            @pad.on_event
            def on_event(event: vantix.Event) -> None:
                if isinstance(event, vantix.ButtonEvent) and event.action == vantix.ButtonAction.PRESS \
                        and event.region == ok.number:
                    pressed.set()

            pen = vantix.sim.VirtualPad.of(pad)
            pen.stroke(STROKE)
            pen.tap_display(*ok.center)
            if not pressed.wait(10):
                raise SystemExit("no OK from the pad")
            return signature


def main() -> int:
    if len(sys.argv) != 7:
        print(__doc__, file=sys.stderr)
        return 2
    source, out, key, cert, notary_cert, notary_key = sys.argv[1:]
    document = vantix.pdf.Document(source)
    signature = capture(document)
    try:
        document.check_placement()
        place = {}
    except vantix.VantixError:
        place = {"page": 1, "rect": (36, 36, 180, 54)}
    vantix.pdf.sign(signature, document, out, **place, name="J. Doe", reason="Agreed", prompt="Please sign below",
                    recipients=[notary_cert], sign_with=key, cert=cert)
    for field in vantix.pdf.verify(out, key=notary_key):
        print(f"{field.field}: signed {field.is_signed}, valid {field.valid}, "
              f"whole file {field.covers_whole_file}, record matches {field.record_matches}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
