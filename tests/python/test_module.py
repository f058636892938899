# SPDX-License-Identifier: GPL-3.0-or-later
"""The module as a package: its version, what `from orv import *` brings, and the
extension as it is installed. Needs neither numpy nor Pillow."""

import gc
import os
import shutil
import subprocess
import types
from pathlib import Path

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


def test_every_class_has_a_repr_and_the_name_the_stubs_give_it(sample):
    with orv.open(sample / "sample.dat") as archive:
        frames = archive["walk.ani"].frames()
        objects = [
            archive, iter(archive), archive["title.cg"], archive["title.cg"].picture(), frames, next(frames),
            archive["beep6.pcm"].sound(), orv.Settings(sample / "sample.ini"), orv.Settings.from_bytes(b""),
            orv.Writer(),
        ]
    stub = (Path(orv.__file__).parent / "__init__.pyi").read_text(encoding="utf-8")
    for name in [*orv.__all__, "open"]:
        kind = getattr(orv, name)
        if isinstance(kind, type) and not issubclass(kind, BaseException):
            assert any(isinstance(o, kind) for o in objects), name
        members = vars(kind).items() if isinstance(kind, type) else [(name, kind)]
        for attribute, value in members:
            # Methods written in Python are named as the class's own (help(), tracebacks),
            # and the signatures help() and argument errors show name the package's types.
            if isinstance(value, types.FunctionType):
                assert value.__qualname__ == f"{name}.{attribute}", value
            assert "_orv" not in (getattr(value, "__doc__", None) or ""), value
        assert getattr(kind, "__module__", "orv") == "orv", kind
    for o in objects:
        name = type(o).__qualname__
        assert (type(o).__module__, getattr(orv, name, None)) == ("orv", type(o)), type(o)
        assert name in orv.__all__ and (f"class {name}:" in stub or f"class {name}(" in stub), name
        assert repr(o).startswith(f"<orv.{name} ") and "object at 0x" not in repr(o), repr(o)
    assert repr(orv.Settings(sample / "sample.ini")) == f"<orv.Settings {str(sample / 'sample.ini')!r}>"


def test_names_the_system_gives_and_bytes_like_arguments(sample, tmp_path):
    # A folder named in CP932 ("データ"), valid on Linux and not UTF-8.
    folder = os.fsencode(tmp_path) + b"/\x83f\x81[\x83^"
    os.mkdir(folder)
    with open(folder + b"/note.txt", "wb") as note:
        note.write(b"packed")
    assert orv.pack_folder(folder) == os.fsdecode(folder + b".dat")
    shutil.copy(sample / "walk.ani", os.fsdecode(folder + b"/walk.ani"))
    for name in (folder + b"/walk.ani", os.fsdecode(folder + b"/walk.ani")):
        with open(name, "rb") as file, orv.open(file) as opened:
            assert opened.kind == "animation" and opened.path == os.fsdecode(name)
    with orv.open(sample / "sample.dat") as archive:
        data = archive["title.cg"].data()
    assert orv.decode_picture(bytearray(data)).tobytes() == orv.decode_picture(memoryview(data)).tobytes()
    assert orv.Settings.from_bytes(bytearray(b"[a.ani]\np2=1\n")).value("a.ani", "p2") == b"1"
    # Raised where the engine gave no text of its own, it is empty, never missing.
    assert orv.Error("a line").engine_text == ""
