# SPDX-License-Identifier: GPL-3.0-or-later
"""Entries read through orv against the files orvconv-cli writes, read back by Pillow
and by hand-parsed WAV headers."""

import struct
from functools import partial

import pytest

import orv

np = pytest.importorskip("numpy", reason="the venv has no numpy")
Image = pytest.importorskip("PIL.Image", reason="the venv has no Pillow")


def png_pixels(path):
    with Image.open(path) as image:
        return np.asarray(image.convert("RGB"))


def listing(cli_run, path):
    """orvconv-cli --list: index, shown name, offset, size, kind per line."""
    done = cli_run("-l", path)
    assert done.returncode == 0
    rows = [line.split("\t") for line in done.stdout.decode().splitlines() if line.strip()]
    return [(int(i), name, int(offset), int(size), kind) for i, name, offset, size, kind in rows]


def test_entries_match_the_listing(sample):
    from conftest import run_cli

    expected = listing(run_cli, sample / "sample.dat")
    kinds = {"image": "picture", "animation": "animation", "sound": "sound", "other": "other"}
    with orv.open(sample / "sample.dat") as archive:
        got = [(e.index, e.shown, e.offset, e.size, e.kind) for e in archive]
        assert got == [(i, name, offset, size, kinds[kind]) for i, name, offset, size, kind in expected]
        # Names as stored are CP932; lookups by stored bytes, shown text and negative index agree.
        title = archive["タイトル.txt"]
        assert title.name == "タイトル.txt".encode("cp932")
        assert archive[title.name].index == title.index
        assert archive[-1].index == len(archive) - 1
        assert "title.cg" in archive and b"title.cg" in archive and "missing" not in archive
        with pytest.raises(KeyError):
            archive["missing.cg"]
        with pytest.raises(IndexError):
            archive[len(archive)]
        with pytest.raises(TypeError):
            archive[1.5]


def test_pictures_are_the_pixels_conversion_writes(sample, converted):
    with orv.open(sample / "sample.dat") as archive:
        pictures = [e for e in archive if e.kind == "picture"]
        assert pictures
        for entry in pictures:
            pixels = entry.picture()
            array = np.asarray(pixels)
            expected = png_pixels(converted / "sample" / (entry.shown[:-3] + ".png"))
            assert array.shape == expected.shape == (entry.picture_size[1], entry.picture_size[0], 3)
            np.testing.assert_array_equal(array, expected)
            np.testing.assert_array_equal(np.asarray(entry.image()), expected)


def test_pixels_are_shared_read_only(sample):
    with orv.open(sample / "sample.dat") as archive:
        pixels = archive["title.cg"].picture()
    first = np.asarray(pixels)
    second = np.asarray(pixels)
    assert np.shares_memory(first, second)
    assert not first.flags.writeable
    with pytest.raises(ValueError):
        first[0, 0, 0] = 1
    view = memoryview(pixels)
    assert view.readonly and view.shape == (pixels.height, pixels.width, 3) and view.c_contiguous
    assert view.tobytes() == pixels.tobytes() == first.tobytes()


@pytest.mark.parametrize("source, folder", [("sample.dat", "sample"), ("walk.ani", "walk")])
def test_frames_are_the_files_conversion_writes(sample, converted, source, folder):
    settings = orv.Settings(sample / "sample.ini")
    with orv.open(sample / source) as opened:
        entry = opened["walk.ani"]
        frames = list(entry.frames(settings))
        assert 0 < len(frames) <= entry.frame_count and frames[-1].number <= entry.frame_count
        written = sorted((converted / folder).glob("walk_*.png"))
        drawn = [f for f in frames if f.pixels is not None]
        assert [f"walk_{f.number:04d}.png" for f in drawn] == [p.name for p in written]
        for frame, path in zip(drawn, written):
            np.testing.assert_array_equal(np.asarray(frame.pixels), png_pixels(path))
        # A settings file given by its path composes the same frames.
        by_path = entry.frames(sample / "sample.ini")
        assert [f.pixels.tobytes() for f in drawn] == [f.pixels.tobytes() for f in by_path if f.pixels]


def test_a_frame_copied_raw_as_a_base_comes_as_conversion_writes_it(tmp_path):
    """Frame 2, copied raw and left out, is drawn as frame 3's base: the iterator gives it
    and frame 3 as conversion writes them (r.ani_0002 and r_0003.png)."""
    from conftest import run_cli

    rng = np.random.default_rng(5)
    first, third = (rng.integers(0, 4, (6, 8, 3), dtype=np.uint8) * 60 for _ in range(2))
    writer = orv.Writer()
    writer.add_animation("r.ani", [first, b"\x07raw frame", third])
    archive = writer.write(tmp_path / "r.dat")
    (tmp_path / "r.ini").write_bytes(b"[r.ani]\np2=2\np3=2\n")
    assert run_cli("-f", "png", "-s", tmp_path / "r.ini", "-o", tmp_path / "out", archive).returncode == 0
    written = sorted(p.name for p in (tmp_path / "out" / "r").iterdir())
    assert written == ["r.ani_0002", "r_0001.png", "r_0003.png"]
    with orv.open(archive) as opened:
        frames = list(opened["r.ani"].frames(tmp_path / "r.ini"))
    assert [f.number for f in frames] == [1, 2, 3]
    assert frames[1].data == (tmp_path / "out" / "r" / "r.ani_0002").read_bytes()
    for frame in (frames[0], frames[2]):
        np.testing.assert_array_equal(np.asarray(frame.pixels), png_pixels(tmp_path / "out" / "r" / f"r_{frame.number:04d}.png"))


def test_sounds_are_the_wav_files_conversion_writes(sample, converted):
    with orv.open(sample / "sample.dat") as archive:
        for entry in (e for e in archive if e.kind == "sound"):
            wav = (converted / "sample" / (entry.shown[:-4] + ".wav")).read_bytes()
            assert entry.wav_bytes() == wav
            channels, rate, byte_rate, align, bits = struct.unpack_from("<HIIHH", wav, 22)
            sound = entry.sound()
            assert (sound.channels, sound.rate, sound.block_align) == (channels, rate, align)
            assert entry.sound_format == (channels, rate) and bits == 16
            assert sound.samples == wav[44:] == entry.data()[4:]


def test_raw_entries_are_their_bytes(sample, converted):
    with orv.open(sample / "sample.dat") as archive:
        for entry in (e for e in archive if e.kind == "other"):
            assert entry.data() == (converted / "sample" / entry.shown).read_bytes()


def test_closed_inputs_keep_names_and_refuse_reading(sample):
    archive = orv.open(sample / "sample.dat")
    entry = archive["icon.cg"]
    archive.close()
    assert archive.closed and entry.shown == "icon.cg"
    for read in (entry.picture, entry.data, partial(entry.frames, any_kind=True), partial(entry.sound, any_kind=True)):
        with pytest.raises(ValueError):
            read()


def test_settings_values_by_section_and_key(sample, tmp_path):
    settings = orv.Settings.from_bytes(b"[Walk.ANI]\np4=1\np4=2\n[other]\np1=7\n")
    # Names compared ignoring letter case; the last line of a key counts.
    assert settings.value("walk.ani", "P4") == b"2"
    assert settings.value("walk.ani", "p1") is None and settings.value("missing", "p1") is None
    assert orv.Settings(sample / "sample.ini").value("walk.ani", "p5") == b"-1"
    # As orvconv-cli -s: a settings file that is not there is no settings without sections.
    for given in (tmp_path / "missing.ini", str(tmp_path / "missing.ini")):
        with pytest.raises(FileNotFoundError) as raised:
            orv.Settings(given)
        assert raised.value.filename == given
    with pytest.raises(IsADirectoryError):
        orv.Settings(tmp_path)
    with orv.open(sample / "walk.ani") as ani, pytest.raises(FileNotFoundError):
        ani[0].frames(settings=tmp_path / "missing.ini")
    (tmp_path / "folder").mkdir()
    with pytest.raises(FileNotFoundError):
        orv.pack_folder(tmp_path / "folder", settings=tmp_path / "missing.ini")
    assert not (tmp_path / "folder.dat").exists()


def bytes_read():
    """What this process has read through system calls so far (/proc/self/io rchar)."""
    with open("/proc/self/io", encoding="ascii") as io:
        return int(next(line for line in io if line.startswith("rchar:")).split()[1])


@pytest.mark.parametrize("given", ["path", "object"])
def test_animations_in_order_with_settings_read_each_entry_once(tmp_path, given):
    # 400 animations whose second frame is drawn over the first: read in order with the
    # same settings, each entry's bytes are read about once, not once per entry before it.
    rng = np.random.default_rng(3)
    frames = [rng.integers(0, 4, (12, 16, 3), dtype=np.uint8) * 60 for _ in range(2)]
    writer = orv.Writer()
    for i in range(400):
        writer.add_animation(f"a{i}.ani", frames)
    archive = tmp_path / "many.dat"
    writer.write(archive)
    ini = tmp_path / "many.ini"
    ini.write_bytes(b"[a7.ani]\np2=-1\n")
    settings = ini if given == "path" else orv.Settings(ini)

    with orv.open(archive) as opened:
        before = bytes_read()
        shown = [len(list(entry.frames(settings))) for entry in opened]
        read = bytes_read() - before
    assert shown == [2] * 400
    size = archive.stat().st_size
    assert read < 3 * size + 400 * ini.stat().st_size, (read, size)


def test_file_objects_read_as_their_paths_do(sample, tmp_path):
    # An archive and an animation file given as io.BytesIO and as open files: the same
    # entries, pictures, frames (the animation's name chooses its settings) and bytes.
    import io

    settings = orv.Settings(sample / "sample.ini")

    def everything(opened):
        got = []
        for entry in opened:
            if entry.kind == "animation":
                got.append([(f.number, f.pixels is not None and bytes(f.pixels), f.data) for f in entry.frames(settings)])
            elif entry.kind == "picture":
                picture = entry.picture()
                got.append(bytes(picture) if isinstance(picture, orv.Pixels) else picture)
            else:
                got.append(entry.data())
        return [(e.name, e.kind, e.size) for e in opened], got

    for name in ("sample.dat", "walk.ani"):
        with orv.open(sample / name) as by_path:
            expected = everything(by_path)
        data = (sample / name).read_bytes()
        with orv.open(io.BytesIO(data), name=name) as from_memory:
            assert everything(from_memory) == expected
        with open(sample / name, "rb") as file, orv.open(file) as from_file:
            assert everything(from_file) == expected

    # Unnamed, the kind tells what the bytes are; an unreadable file object is a read error.
    with orv.open(io.BytesIO((sample / "walk.ani").read_bytes()), kind="animation") as unnamed:
        assert unnamed[0].kind == "animation" and len(list(unnamed[0].frames())) > 1
    with pytest.raises(orv.NotAnInputError):
        orv.open(io.BytesIO(b"not an archive"))
