# SPDX-License-Identifier: GPL-3.0-or-later
"""Pillow opens animation files and lone picture entries through orv's plugin."""

import io
import pathlib
import struct

import pytest

import orv

np = pytest.importorskip("numpy", reason="the venv has no numpy")
Image = pytest.importorskip("PIL.Image", reason="the venv has no Pillow")
UnidentifiedImageError = pytest.importorskip("PIL").UnidentifiedImageError


def test_an_animation_file_opens_animated(sample, tmp_path):
    # Without settings, as orvconv-cli converts without -s.
    from conftest import run_cli

    assert run_cli("-f", "png", "-o", tmp_path, sample / "walk.ani").returncode == 0
    written = sorted((tmp_path / "walk").glob("walk_*.png"))
    with Image.open(sample / "walk.ani") as image:
        assert image.format == "ORVANI"
        assert image.n_frames == len(written) > 1 and image.is_animated
        assert image.info["duration"] == orv.DEFAULT_FRAME_MS
        for index in reversed(range(image.n_frames)):
            image.seek(index)
            assert image.tell() == index
            with Image.open(written[index]) as expected:
                np.testing.assert_array_equal(np.asarray(image), np.asarray(expected.convert("RGB")))
    # A file object works as a path does.
    with open(sample / "walk.ani", "rb") as stream, Image.open(stream) as image:
        assert image.n_frames == len(written)


def test_a_lone_picture_entry_opens_as_a_picture(sample, tmp_path):
    with orv.open(sample / "sample.dat") as archive:
        entry = archive["tiles.cg"]
        expected = np.asarray(entry.picture())
        (tmp_path / "tiles.cg").write_bytes(entry.data())
    with Image.open(tmp_path / "tiles.cg") as image:
        assert image.format == "ORVCG" and image.size == (expected.shape[1], expected.shape[0])
        np.testing.assert_array_equal(np.asarray(image), expected)


def test_other_files_are_left_to_other_formats(tmp_path):
    path = tmp_path / "picture.png"
    Image.new("RGB", (3, 2), (1, 2, 3)).save(path)
    with Image.open(path) as image:
        assert image.format == "PNG"
    # Bytes no picture type draws are no picture.
    with open(tmp_path / "raw.cg", "wb") as out:
        out.write(b"\x07" + bytes(20))
    with pytest.raises(UnidentifiedImageError):
        Image.open(tmp_path / "raw.cg")
    # Unnamed bytes have no format of orv's.
    with pytest.raises(UnidentifiedImageError):
        Image.open(io.BytesIO((tmp_path / "raw.cg").read_bytes()))


def test_opening_reads_headers_and_unnamed_bytes_open(sample, tmp_path):
    """As Pillow's own formats: Image.open reads the frame table and headers, frames are
    drawn when loaded; a BytesIO without a name opens as an animation file does."""
    frame = np.zeros((48, 64, 3), np.uint8)
    frames = []
    for number in range(200):
        frame = frame.copy()
        frame[number % 48, :, number % 3] = 1 + number % 100
        frames.append(frame)
    writer = orv.Writer()
    writer.add_animation("long.ani", frames)
    with orv.open(writer.write(tmp_path / "long.dat")) as archive:
        data = archive["long.ani"].data()

    class Counting(io.BytesIO):
        read_bytes = 0

        def read(self, n=-1):
            got = super().read(n)
            Counting.read_bytes += len(got)
            return got

    stream = Counting(data)
    stream.name = "long.ani"
    with Image.open(stream) as image:
        assert image.n_frames == 200 and image.size == (64, 48)
        assert Counting.read_bytes < len(data) // 10
        image.seek(199)
        np.testing.assert_array_equal(np.asarray(image), frames[199])

    with Image.open(io.BytesIO((sample / "walk.ani").read_bytes())) as unnamed, Image.open(sample / "walk.ani") as named:
        assert unnamed.format == "ORVANI" and unnamed.n_frames == named.n_frames
        np.testing.assert_array_equal(np.asarray(unnamed), np.asarray(named))


def test_a_long_frame_table_opens_bounded_and_one_that_lies_is_refused(tmp_path):
    """A million frames that all show one 3 x 2 picture: opening reads the table and that
    frame's header once, and seeking composes frames one at a time from the last one drawn
    (from the first when seeking back). A table claiming more frames than the file holds is
    orv.Error, before any frame is read."""
    writer = orv.Writer()
    writer.add_animation("one.ani", [np.full((2, 3, 3), 7, np.uint8)])
    one = pathlib.Path(writer.write(tmp_path / "one.ani")).read_bytes()
    assert struct.unpack_from("<I", one)[0] == 4  # a table of one frame, the frame after it
    count = 1_000_000
    data = struct.pack("<I", 4 * count) * count + one[4:]

    class Counting(io.BytesIO):
        reads = 0

        def read(self, n=-1):
            Counting.reads += 1
            return super().read(n)

    stream = Counting(data)
    stream.name = "long.ani"
    with Image.open(stream) as image:
        assert image.n_frames == count and image.size == (3, 2)
        assert Counting.reads < 100
        for frame in (3, 1):
            image.seek(frame)
            np.testing.assert_array_equal(np.asarray(image), np.full((2, 3, 3), 7, np.uint8))

    lying = struct.pack("<I", 4 << 28) + one[4:]
    (tmp_path / "lying.ani").write_bytes(lying)
    with pytest.raises(orv.Error, match=r"claims 268435456 frames, more than its \d+ bytes hold"):
        Image.open(tmp_path / "lying.ani")
