# SPDX-License-Identifier: Apache-2.0
"""vantix.pdf: signing a PDF with a captured signature and checking it."""

import os
import subprocess
import sys

import pytest

import vantix
import vantix.pdf
from conftest import make_certificate


@pytest.fixture(scope="module")
def form(tmp_path_factory):
    """The test inputs of the document tests, with a signer and a notary."""
    directory = tmp_path_factory.mktemp("pdf")
    script = os.path.join(os.environ["VANTIX_SOURCE_DIR"], "tests", "document", "make_inputs.py")
    subprocess.run([sys.executable, script, directory], check=True)
    for name in ("signer", "notary"):
        make_certificate(directory, name)
    return directory


def test_sign_and_verify(signature, form, tmp_path):
    document = vantix.pdf.Document(form / "form.pdf")
    assert document.title == "Delivery note" and len(document.short_digest) == 8
    out = tmp_path / "signed.pdf"
    vantix.pdf.sign(signature, document, out, field="Signature1", reason="Agreed", recipients=[form / "notary.crt"],
                    sign_with=form / "signer.key", cert=(form / "signer.crt").read_bytes())
    checks = vantix.pdf.verify(out, key=form / "notary.key")
    assert [c.field for c in checks] == ["Signature1", "Signature2"]
    first = checks[0]
    assert first.valid and first.covers_whole_file and first.signer == "CN=signer" and first.reason == "Agreed"
    assert first.record_matches and first.record_revision_length == (form / "form.pdf").stat().st_size
    assert not checks[1].is_signed


def test_failures_raise_the_library_text(signature, form, tmp_path):
    cases = [
        (lambda: vantix.pdf.Document(form / "encrypted.pdf"), "The PDF is encrypted"),
        (lambda: vantix.pdf.sign(signature, form / "form.pdf", tmp_path / "x.pdf", field="Nope"),
         "No signature field named Nope"),
        (lambda: vantix.pdf.Document(form / "form.pdf").check_placement(page=9, rect=(0, 0, 10, 10)),
         "there is no page 9"),
        (lambda: vantix.pdf.verify(form / "damaged.pdf"), "The file is not a readable PDF"),
    ]
    for call, text in cases:
        with pytest.raises(vantix.VantixError, match=text):
            call()
    with pytest.raises(TypeError):
        vantix.pdf.sign(signature, form / "form.pdf", tmp_path / "x.pdf", sign_with=form / "signer.key")
    assert not (tmp_path / "x.pdf").exists()


def test_the_example_signs_and_checks(form, tmp_path):
    example = os.path.join(os.environ["VANTIX_SOURCE_DIR"], "examples", "python", "sign_pdf.py")
    result = subprocess.run([sys.executable, example, form / "form.pdf", tmp_path / "out.pdf", form / "signer.key",
                             form / "signer.crt", form / "notary.crt", form / "notary.key"],
                            check=True, capture_output=True, text=True)
    assert "Signature1: signed True, valid True, whole file True, record matches True" in result.stdout
