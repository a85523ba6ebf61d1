#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Writes the PDFs the document tests sign into DIR, each from another
producer or of another shape: Ghostscript (ps2pdf), cairo, qpdf (object
streams, linearized, encrypted), and a form written here by hand with two
signature fields, a page turned by 90 degrees with a crop box and one
turned by 270; and a damaged file."""
import subprocess
import sys
from pathlib import Path

import cairo

out = Path(sys.argv[1])
out.mkdir(parents=True, exist_ok=True)


def write_pdf(path, objects):
    """A PDF of `objects` (bodies of objects 1..n, object 1 the catalog) with a classic xref table."""
    data = bytearray(b"%PDF-1.7\n%\xe2\xe3\xcf\xd3\n")
    offsets = []
    for number, body in enumerate(objects, 1):
        offsets.append(len(data))
        data += b"%d 0 obj\n%s\nendobj\n" % (number, body.encode())
    xref = len(data)
    data += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    for offset in offsets:
        data += b"%010d 00000 n \n" % offset
    data += b"trailer\n<< /Size %d /Root 1 0 R /Info 2 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, xref)
    path.write_bytes(bytes(data))


def page_text(text):
    content = "BT /F1 18 Tf 60 700 Td (%s) Tj ET 0.5 g 50 50 100 100 re f" % text
    return "<< /Length %d >>\nstream\n%s\nendstream" % (len(content), content)


# 1 catalog, 2 info, 3 pages, 4-6 pages, 7-9 contents, 10 font, 11-12 fields.
write_pdf(out / "form.pdf", [
    "<< /Type /Catalog /Pages 3 0 R /AcroForm << /Fields [11 0 R 12 0 R] >> >>",
    "<< /Title (Delivery note) /Producer (hand) >>",
    "<< /Type /Pages /Kids [4 0 R 5 0 R 6 0 R] /Count 3 /MediaBox [0 0 600 800] >>",
    "<< /Type /Page /Parent 3 0 R /Contents 7 0 R /Resources << /Font << /F1 10 0 R >> >>"
    " /Annots [11 0 R 12 0 R] >>",
    "<< /Type /Page /Parent 3 0 R /Contents 8 0 R /Resources << /Font << /F1 10 0 R >> >>"
    " /Rotate 90 /CropBox [40 60 560 760] >>",
    "<< /Type /Page /Parent 3 0 R /Contents 9 0 R /Resources << /Font << /F1 10 0 R >> >> /Rotate 270 >>",
    page_text("A form"),
    page_text("Turned by 90"),
    page_text("Turned by 270"),
    "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
    "<< /FT /Sig /T (Signature1) /Type /Annot /Subtype /Widget /Rect [60 400 260 460] /F 4 /P 4 0 R >>",
    "<< /FT /Sig /T (Signature2) /Type /Annot /Subtype /Widget /Rect [320 400 520 460] /F 4 /P 4 0 R >>",
])

(out / "page.ps").write_text("%!PS\n/Helvetica findfont 24 scalefont setfont\n"
                             "72 700 moveto (A contract) show 0.5 setgray 50 50 100 100 rectfill showpage\n")
subprocess.run(["ps2pdf", str(out / "page.ps"), str(out / "ghostscript.pdf")], check=True)

surface = cairo.PDFSurface(str(out / "cairo.pdf"), 595, 842)
context = cairo.Context(surface)
context.set_font_size(24)
context.move_to(72, 100)
context.show_text("Consent form")
context.rectangle(50, 692, 100, 100)
context.set_source_rgb(0.5, 0.5, 0.5)
context.fill()
surface.finish()

qpdf = lambda *args: subprocess.run(["qpdf", *args], check=True)
qpdf("--object-streams=generate", str(out / "ghostscript.pdf"), str(out / "object-streams.pdf"))
qpdf("--linearize", str(out / "cairo.pdf"), str(out / "linearized.pdf"))
qpdf("--encrypt", "user", "owner", "256", "--", str(out / "cairo.pdf"), str(out / "encrypted.pdf"))
damaged = (out / "form.pdf").read_bytes()
(out / "damaged.pdf").write_bytes(damaged[: len(damaged) // 2] + damaged[len(damaged) // 2 + 40:])
