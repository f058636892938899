# SPDX-License-Identifier: GPL-3.0-or-later
"""The module as a package: its version, what `from orv import *` brings, and the
extension as it is installed. Needs neither numpy nor Pillow."""

import shutil
import subprocess

import pytest

import orv
from conftest import run_cli


def test_the_version_is_the_programs_version():
    done = run_cli("--version")
    assert done.stdout.decode().split() == ["orvconv-cli", orv.__version__]


@pytest.mark.skipif(shutil.which("readelf") is None, reason="no readelf (binutils)")
def test_the_extension_has_no_comment_section():
    sections = subprocess.run(["readelf", "-S", "-W", orv._orv.__file__], capture_output=True, check=True, text=True)
    assert ".text" in sections.stdout
    assert ".comment" not in sections.stdout


def test_star_import_brings_every_public_name_but_open():
    names = {}
    exec("from orv import *", names)
    assert "open" not in names
    public = {name for name in dir(orv) if not name.startswith("_") and name not in ("open", "pillow")}
    assert public <= set(names)
