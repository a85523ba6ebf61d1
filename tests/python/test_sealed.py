# SPDX-License-Identifier: Apache-2.0
"""Sealing a signature to a document and opening it again."""

import hashlib

import pytest

import vantix
from conftest import make_certificate

DOCUMENT = b"%PDF-1.7 the contract"


@pytest.fixture(scope="module")
def keys(tmp_path_factory):
    """Two recipients made with openssl: name -> (key path, certificate path)."""
    directory = tmp_path_factory.mktemp("keys")
    made = {}
    for name in ("notary", "stranger"):
        made[name] = make_certificate(directory, name)
    return made


def test_round_trip_tells_what_was_signed(signature, keys, tmp_path):
    key, cert = keys["notary"]
    sealed = signature.seal(DOCUMENT, document_name="contract.pdf", prompt="Sign here",
                            recipients=[cert.read_bytes()], sign_with=key, cert=cert)
    opened = vantix.open_sealed(sealed, key.read_bytes(), cert=cert)
    assert (opened.document_name, opened.prompt) == ("contract.pdf", "Sign here")
    assert opened.document_sha256 == hashlib.sha256(DOCUMENT).digest()
    assert opened.start <= opened.end and opened.start.tzinfo is not None
    assert opened.pad.serial_number == "SIM0000001"
    assert opened.host_signer == "CN=notary"
    (tmp_path / "contract.pdf").write_bytes(DOCUMENT)
    assert opened.matches(tmp_path / "contract.pdf") and opened.matches(DOCUMENT)
    assert opened.matches(sha256=hashlib.sha256(DOCUMENT).digest())
    assert not opened.matches(b"another document")
    assert opened.capture().export("svg") == signature.export("svg")


def test_failures_raise_the_library_text(signature, keys):
    key, cert = keys["notary"]
    sealed = signature.seal(sha256=hashlib.sha256(DOCUMENT).digest(), recipients=[cert])
    assert vantix.open_sealed(sealed, key).host_signer is None
    cases = [
        (lambda: vantix.open_sealed(sealed, keys["stranger"][0]), "The key does not open this sealed record"),
        (lambda: vantix.open_sealed(b"not sealed", key), "The data is not a sealed signature record."),
        (lambda: signature.seal(DOCUMENT, recipients=[]), ""),
        (lambda: vantix.open_sealed(sealed, key).matches("/no/such/file"), ""),
    ]
    for call, text in cases:
        with pytest.raises(vantix.VantixError) as error:
            call()
        assert str(error.value).startswith(text)


def test_arguments_are_checked_first(signature, keys):
    cert = keys["notary"][1]
    cases = [
        (lambda: signature.seal(recipients=[cert]), TypeError),
        (lambda: signature.seal(DOCUMENT, sha256=b"x" * 32, recipients=[cert]), TypeError),
        (lambda: signature.seal(sha256=b"short", recipients=[cert]), ValueError),
        (lambda: signature.seal(DOCUMENT, recipients=cert), TypeError),
        (lambda: signature.seal(DOCUMENT, recipients=[cert], sign_with=cert), TypeError),
        (lambda: signature.seal(DOCUMENT, recipients=[42]), TypeError),
        (lambda: vantix.open_sealed("text", cert), TypeError),
    ]
    for call, kind in cases:
        with pytest.raises(kind):
            call()
