# SPDX-License-Identifier: GPL-3.0-or-later
"""Errors as Python raises them: paths the system gives as bytes that are not UTF-8, entries
read as another kind, reads beyond an input's limits. Needs neither numpy nor Pillow."""

import os
import struct

import pytest

import orv

# A folder named in CP932 ("データ"), as an archive unpacked on a Japanese system names it.
CP932_FOLDER = "データ".encode("cp932")


def small_archive(path):
    """An archive of a picture claiming 65535 x 65535 pixels (12.9 GB), a sound and a text."""
    writer = orv.Writer()
    writer.add_bytes("huge.cg", struct.pack("<BHH", 0, 65535, 65535) + bytes(384) + b"\x80")
    writer.add_sound("beep.pcm", bytes(8), 1, 22050)
    writer.add_bytes("readme.txt", b"hello")
    return writer.write(path)


def test_paths_that_are_not_utf8_open_name_and_fail_as_given(tmp_path):
    folder = os.fsencode(tmp_path) + b"/" + CP932_FOLDER
    os.mkdir(folder)
    archive = folder + b"/a.dat"
    written = orv.Writer().write(archive)
    assert written == os.fsdecode(archive)
    with orv.open(archive) as opened:
        assert opened.path == os.fsdecode(archive)
        assert repr(os.fsdecode(archive)) in repr(opened)
    with orv.open(os.fsdecode(archive)) as opened:
        assert len(opened) == 0

    missing = folder + b"/missing.dat"
    with pytest.raises(FileNotFoundError) as raised:
        orv.open(missing)
    assert raised.value.filename == missing
    not_pack = folder + b"/x.dat"
    with open(not_pack, "wb") as out:
        out.write(b"nope")
    with pytest.raises(orv.NotAnInputError) as raised:
        orv.open(not_pack)
    assert str(raised.value).startswith(os.fsdecode(not_pack) + ": ")


def test_an_entry_read_as_another_kind_is_a_type_error_unless_asked(tmp_path):
    with orv.open(small_archive(tmp_path / "a.dat")) as archive:
        sound, text = archive["beep.pcm"], archive["readme.txt"]
        for read in (sound.picture, sound.frames, text.sound, text.wav_bytes):
            with pytest.raises(TypeError) as raised:
                read()
            assert str(raised.value).startswith(f"{tmp_path / 'a.dat'}: ")
        assert sound.sound().samples == bytes(8)
        # Asked for, a sound read as a picture is what conversion would draw from its bytes.
        assert sound.picture(any_kind=True) is not None


def test_a_read_beyond_the_limits_is_a_memory_error_stating_size_and_limit(tmp_path):
    with orv.open(small_archive(tmp_path / "a.dat")) as archive:
        with pytest.raises(MemoryError) as raised:
            archive["huge.cg"].picture()
    error = raised.value
    assert isinstance(error, orv.LimitError) and isinstance(error, orv.Error)
    assert (error.size, error.limit) == (65535 * 65535 * 3, 1 << 30)
    assert str(error) == f"{tmp_path / 'a.dat'}: huge.cg: needs {error.size} bytes, more than the limit of {1 << 30} bytes"
    # The same bytes on their own: refused alike, named by the call (they were orv.Error in
    # the engine's Japanese dialog text).
    with orv.open(tmp_path / "a.dat") as archive:
        data = archive["huge.cg"].data()
    with pytest.raises(orv.LimitError) as raised:
        orv.decode_picture(data)
    assert (raised.value.size, raised.value.limit) == (error.size, error.limit)
    assert str(raised.value).startswith("decode_picture: a picture of 65535 x 65535 pixels: needs ")


def test_a_file_object_that_fails_names_the_input_and_the_entry(tmp_path):
    class Failing:
        def __init__(self, data):
            self.data, self.at, self.fail = data, 0, False

        def seek(self, offset, whence=0):
            self.at = offset if whence == 0 else len(self.data) + offset
            return self.at

        def tell(self):
            return self.at

        def read(self, n):
            if self.fail:
                raise OSError("the disk went away")
            return self.data[self.at : self.at + n]

    small_archive(tmp_path / "a.dat")
    source = Failing((tmp_path / "a.dat").read_bytes())
    with orv.open(source, name="a.dat") as archive:
        source.fail = True
        with pytest.raises(orv.Error) as raised:
            archive["readme.txt"].data()
    assert str(raised.value) == "a.dat: readme.txt: cannot be read"
    assert raised.value.engine_text

