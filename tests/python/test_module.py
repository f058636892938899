# SPDX-License-Identifier: GPL-3.0-or-later
"""The module as a package: its version, what `from orv import *` brings, and the
extension as it is installed. Needs neither numpy nor Pillow."""

import gc
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


def test_writer_refuses_names_of_another_kind_and_takes_bytes_like_data(tmp_path):
    frame = memoryview(bytes(12)).cast("B", (2, 2, 3))
    with orv.Writer() as writer:
        for add in (
            lambda: writer.add_picture("x.png", frame),
            lambda: writer.add_animation("walk.gif", [frame]),
            lambda: writer.add_sound("beep.wav", bytes(4), 1, 22050),
        ):
            with pytest.raises(ValueError, match="reads back as other"):
                add()
        writer.add_bytes("a.bin", bytearray(b"abc"))
        writer.add_sound("b.pcm", memoryview(bytes(4)), 1, 22050)
        assert repr(writer) == "<orv.Writer 2 entries>"
        path = writer.write(tmp_path / "a.dat")
    assert writer.names == []
    with orv.open(path) as archive:
        assert archive["a.bin"].data() == b"abc"
        assert repr(archive["b.pcm"].sound()) == "<orv.Sound 1 x 22050 Hz, 4 bytes>"


def test_entries_by_any_integer_and_an_unclosed_input_warns(sample):
    class Index:
        def __index__(self):
            return 4

    archive = orv.open(sample / "sample.dat")
    assert archive[Index()].shown == archive[4].shown == "title.cg"
    with pytest.raises(TypeError):
        archive[4.0]
    with pytest.warns(ResourceWarning, match="unclosed input"):
        del archive
        gc.collect()
