# SPDX-License-Identifier: Apache-2.0
"""The example runs from a source tree after the build, pip installs the
binding offline, and the binding's version is the library's."""

import os
import shutil
import subprocess
import sys
from pathlib import Path

import vantix

SOURCE = Path(os.environ["VANTIX_SOURCE_DIR"])
# Only what a user's shell has: the build tree, found by the example itself
# when it is ./build, else named by VANTIX_BUILD_DIR.
CLEAN = {k: v for k, v in os.environ.items() if not k.startswith("VANTIX_") and k != "PYTHONPATH"}


def test_example_signs_and_writes_svg(tmp_path):
    environment = dict(CLEAN, VANTIX_BUILD_DIR=os.environ["VANTIX_BUILD_DIR"])
    result = subprocess.run([sys.executable, str(SOURCE / "examples/python/sign.py"), "out.svg"],
                            cwd=tmp_path, env=environment, capture_output=True, text=True, timeout=60)
    assert result.returncode == 0, result.stderr
    assert "17 points in 3 strokes" in result.stdout
    assert (tmp_path / "out.svg").read_text().count("<path") == 3
    assert (tmp_path / "pad-screen.png").read_bytes().startswith(b"\x89PNG")


def test_pip_installs_offline(tmp_path):
    # From a copy: setuptools leaves its build directories beside the sources.
    source = shutil.copytree(SOURCE / "bindings/python", tmp_path / "source",
                             ignore=shutil.ignore_patterns("__pycache__", "build", "*.egg-info"))
    target = tmp_path / "site"
    subprocess.run([sys.executable, "-m", "pip", "install", "--quiet", "--no-build-isolation", "--no-index",
                    "--no-deps", "--disable-pip-version-check", "--target", str(target),
                    str(source)],
                   cwd=tmp_path, env=dict(CLEAN, PIP_NO_CACHE_DIR="1"), check=True, timeout=120,
                   capture_output=True)
    installed = sorted(p.name for p in (target / "vantix").iterdir() if p.suffix in (".py", ".typed"))
    assert "py.typed" in installed and "sim.py" in installed
    environment = dict(CLEAN, PYTHONPATH=str(target), VANTIX_BUILD_DIR=os.environ["VANTIX_BUILD_DIR"])
    result = subprocess.run([sys.executable, "-c", "import vantix, vantix.sim; print(vantix.__file__)"],
                            env=environment, capture_output=True, text=True, check=True, cwd=tmp_path)
    assert result.stdout.startswith(str(target))


def test_version_follows_the_library():
    assert vantix.__version__ == os.environ["VANTIX_PROJECT_VERSION"] == vantix.version()
