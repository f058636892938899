# SPDX-License-Identifier: GPL-3.0-or-later
"""Fixtures: the programs and sample files of the build, and conversions by orvconv-cli."""

import os
import subprocess
from pathlib import Path

import pytest

CLI = os.environ["ORVCONV_CLI"]
ORVPACK = os.environ["ORVPACK"]
SAMPLE = Path(os.environ["ORVCONV_SAMPLE_DIR"])


def run_cli(*args):
    """orvconv-cli quietly; returns the finished process (stdout, stderr as bytes)."""
    return subprocess.run([CLI, "-q", *map(str, args)], capture_output=True, check=False)


@pytest.fixture(scope="session")
def sample():
    return SAMPLE


@pytest.fixture(scope="session")
def converted(tmp_path_factory):
    """The sample archive and animation as orvconv-cli writes them in PNG, with settings."""
    out = tmp_path_factory.mktemp("converted")
    done = run_cli("-f", "png", "-s", SAMPLE / "sample.ini", "-o", out, SAMPLE / "sample.dat", SAMPLE / "walk.ani")
    assert done.returncode == 0, done.stderr
    return out


def sparse_archive(path, name, head, size):
    """An archive of one entry, name, of size bytes: head, then zeros the file system holds
    as a hole, so that a large entry costs no disk. Its table laid out by hand: "pack", the
    16-bit count, then name (16 bytes), offset and size."""
    import struct

    record = name.encode("ascii").ljust(16, b"\0") + struct.pack("<II", 30, size)
    with open(path, "wb") as out:
        out.write(b"pack" + struct.pack("<H", 1) + record + head)
        out.truncate(30 + size)
    return path
