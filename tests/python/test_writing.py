# SPDX-License-Identifier: GPL-3.0-or-later
"""Archives written through orv, converted back by orvconv-cli and read by Pillow and
by hand; replacement on a base archive; orv.pack_folder beside orvpack."""

import os
import shutil
import stat
import struct
import subprocess

import pytest

import orv
from conftest import ORVPACK, run_cli

np = pytest.importorskip("numpy", reason="the venv has no numpy")
Image = pytest.importorskip("PIL.Image", reason="the venv has no Pillow")


def png_pixels(path):
    with Image.open(path) as image:
        return np.asarray(image.convert("RGB"))


def few_colours(rng, height, width, colours):
    palette = rng.integers(0, 256, (colours, 3), dtype=np.uint8)
    return palette[rng.integers(0, colours, (height, width))]


def convert(archive, out):
    done = run_cli("-f", "png", "-o", out, archive)
    assert done.returncode == 0, done.stderr
    return out / archive.stem


def test_a_written_archive_converts_back_to_what_was_given(tmp_path):
    rng = np.random.default_rng(26)
    title = few_colours(rng, 37, 53, 100)
    # Not C-contiguous: every other column of a wider array.
    strided = few_colours(rng, 20, 30, 5)[:, ::2]
    frames = [few_colours(rng, 16, 24, 9) for _ in range(3)]
    samples = rng.integers(-32768, 32767, 2000, dtype=np.int16).astype("<i2").tobytes()

    writer = orv.Writer()
    writer.add_picture("title.cg", title)
    writer.add_picture("strided.cg", strided)
    writer.add_picture("pillow.cg", Image.fromarray(frames[0]))
    writer.add_animation("walk.ani", [frames[0], None, frames[1], frames[2]])
    writer.add_sound("chord.pcm", samples, channels=2, rate=22050)
    writer.add_bytes("タイトル.txt", "題名".encode("cp932"))
    writer.add_bytes(b"\x81\x40raw", b"\x00\x01")
    assert writer.names[0] == b"title.cg" and len(writer.names) == 7
    path = tmp_path / "made.dat"
    assert writer.write(path) == str(path)

    folder = convert(path, tmp_path / "out")
    np.testing.assert_array_equal(png_pixels(folder / "title.png"), title)
    np.testing.assert_array_equal(png_pixels(folder / "strided.png"), strided)
    np.testing.assert_array_equal(png_pixels(folder / "pillow.png"), frames[0])
    assert sorted(p.name for p in folder.glob("walk_*")) == ["walk_0001.png", "walk_0003.png", "walk_0004.png"]
    for number, frame in zip((1, 3, 4), frames):
        np.testing.assert_array_equal(png_pixels(folder / f"walk_{number:04d}.png"), frame)
    wav = (folder / "chord.wav").read_bytes()
    assert wav[:4] == b"RIFF" and wav[8:16] == b"WAVEfmt "
    assert struct.unpack_from("<HHIIHH", wav, 20) == (1, 2, 22050, 22050 * 4, 4, 16)
    assert wav[44:] == samples
    assert (folder / "タイトル.txt").read_bytes() == "題名".encode("cp932")


def test_names_pixels_and_sounds_out_of_reach_are_refused(tmp_path):
    writer = orv.Writer()
    pixels = np.zeros((2, 2, 3), np.uint8)
    for name in ("seventeen-bytes.cg", "", "☃.cg", b"nul\x00.cg"):
        with pytest.raises(ValueError):
            writer.add_picture(name, pixels)
    for shape in ((2, 2), (2, 2, 4)):
        with pytest.raises(ValueError):
            writer.add_picture("a.cg", np.zeros(shape, np.uint8))
    with pytest.raises(ValueError):
        writer.add_picture("a.cg", np.zeros((2, 2, 3), np.uint16))
    with pytest.raises(ValueError):
        writer.add_sound("a.pcm", b"", channels=3, rate=22050)
    many = np.random.default_rng(1).integers(0, 256, (20, 20, 3), dtype=np.uint8)
    with pytest.raises(orv.PackError, match="colours to store; a picture holds at most 128"):
        writer.add_picture("many.cg", many)
    reducing = orv.Writer(quantize=True)
    reducing.add_picture("many.cg", many)
    assert any("reduced" in note for note in reducing.notes)
    with pytest.raises(orv.PackError):
        reducing.write(tmp_path / "no such folder" / "a.dat")
    assert writer.names == []


def entries_bytes(path):
    with orv.open(path) as archive:
        return [(e.name, e.data()) for e in archive]


def test_replacing_on_a_base_keeps_every_other_byte(sample, tmp_path):
    replacement = few_colours(np.random.default_rng(3), 12, 18, 7)
    writer = orv.Writer(base=sample / "sample.dat")
    writer.add_picture("title.cg", replacement)
    writer.add_bytes("added.txt", b"new")
    writer.remove("credits.csv")
    path = writer.write(tmp_path / "edited.dat")

    before = entries_bytes(sample / "sample.dat")
    after = entries_bytes(path)
    assert [name for name, _ in after] == [n for n, _ in before if n != b"credits.csv"] + [b"added.txt"]
    kept = dict(before)
    for name, data in after:
        if name not in (b"title.cg", b"added.txt"):
            assert data == kept[name], name
    folder = convert(tmp_path / "edited.dat", tmp_path / "out")
    np.testing.assert_array_equal(png_pixels(folder / "title.png"), replacement)
    with pytest.raises(KeyError):
        writer.remove("missing.cg")


def test_pack_folder_is_orvpack(sample, tmp_path):
    folder = tmp_path / "sample"
    assert run_cli("-o", tmp_path, sample / "sample.dat").returncode == 0
    # An edited picture: the only entry that changes.
    with Image.open(folder / "icon.bmp") as icon:
        edited = np.asarray(icon.convert("RGB")).copy()
    colours = np.unique(edited.reshape(-1, 3), axis=0)
    edited[:8, :8] = next(c for c in colours if (c != edited[0, 0]).any())
    Image.fromarray(edited).save(folder / "icon.bmp")

    notes = []
    ours = orv.pack_folder(folder, output=tmp_path / "ours.dat", base=sample / "sample.dat", note=notes.append)
    subprocess.run([ORVPACK, "-q", "--base", sample / "sample.dat", "-o", tmp_path / "theirs.dat", folder],
                   check=True)
    assert ours == str(tmp_path / "ours.dat")
    assert (tmp_path / "ours.dat").read_bytes() == (tmp_path / "theirs.dat").read_bytes()
    assert any(note.startswith("changed: icon.cg") for note in notes)
    with orv.open(ours) as archive:
        np.testing.assert_array_equal(np.asarray(archive["icon.cg"].picture()), edited)
    with pytest.raises(orv.PackError):
        orv.pack_folder(tmp_path / "missing")
    assert os.path.exists(ours)


def test_a_note_that_raises_is_reported_and_packing_goes_on(sample, tmp_path, monkeypatch):
    assert run_cli("-o", tmp_path, sample / "sample.dat").returncode == 0
    (tmp_path / "sample" / "extra.txt").write_bytes(b"added")
    reported = []
    monkeypatch.setattr("sys.unraisablehook", reported.append)

    def failing(text):
        raise RuntimeError(text)

    path = orv.pack_folder(tmp_path / "sample", output=tmp_path / "out.dat", base=sample / "sample.dat", note=failing)
    assert reported and isinstance(reported[0].exc_value, RuntimeError)
    with orv.open(path) as archive:
        assert archive["extra.txt"].data() == b"added"


def test_a_base_written_unchanged_is_the_same_file_and_sounds_keep_their_lead(sample, tmp_path):
    unchanged = orv.Writer(base=sample / "sample.dat").write(tmp_path / "same.dat")
    assert (tmp_path / "same.dat").read_bytes() == (sample / "sample.dat").read_bytes()

    data = bytearray((sample / "sample.dat").read_bytes())
    with orv.open(unchanged) as archive:
        offset = archive["beep6.pcm"].offset
    data[offset : offset + 3] = b"\x01\x02\x03"
    (tmp_path / "lead.dat").write_bytes(bytes(data))
    writer = orv.Writer(base=tmp_path / "lead.dat")
    writer.add_sound("beep6.pcm", b"\x10\x00\x20\x00", channels=2, rate=44100)
    writer.add_sound("new.pcm", b"\x10\x00", channels=1, rate=22050)
    with orv.open(writer.write(tmp_path / "out.dat")) as archive:
        assert archive["beep6.pcm"].data() == b"\x01\x02\x03" + bytes([10]) + b"\x10\x00\x20\x00"
        assert archive["beep6.pcm"].sound_format == (2, 44100)
        assert archive["new.pcm"].data()[:3] == b"\x00\x00\x00"


# Stored CP932 names and how orvconv-cli shows them: bytes that do not convert and a "%"
# before two hex digits escaped as "%XX", any other "%" as it is.
NAMES = [
    (b"\xffA.txt", "%FFA.txt"),
    (b"100%41.txt", "100%2541.txt"),
    (b"50%off.txt", "50%off.txt"),
    ("表".encode("cp932") + b".txt", "表.txt"),
    (b"tab\x09.txt", "tab%09.txt"),
]


def test_names_shown_with_escapes_and_typed_back(tmp_path):
    by_stored, by_shown = orv.Writer(), orv.Writer()
    for stored, shown in NAMES:
        by_stored.add_bytes(stored, stored)
        by_shown.add_bytes(shown, stored)
    assert by_shown.names == by_stored.names == [stored for stored, _ in NAMES]
    with orv.open(by_shown.write(tmp_path / "names.dat")) as archive:
        assert [(e.name, e.shown) for e in archive] == NAMES
        for stored, shown in NAMES:
            assert archive[shown].data() == archive[stored].data() == stored


def test_write_replaces_a_regular_file_or_nothing(tmp_path):
    """Writer.write keeps orvpack's output rules: a device node, FIFO, socket, link or
    folder at the path is refused and left as it was; a link's target is untouched.
    Device nodes are made in the test's own folder, never the system's."""
    writer = orv.Writer()
    writer.add_bytes("a.txt", b"a")
    target = tmp_path / "target.dat"
    target.write_bytes(b"keep")
    planted = {"a symbolic link": tmp_path / "link.dat", "a FIFO": tmp_path / "fifo.dat", "a folder": tmp_path / "dir.dat"}
    planted["a symbolic link"].symlink_to(target)
    os.mkfifo(planted["a FIFO"])
    planted["a folder"].mkdir()
    devices = {}
    try:
        os.mknod(tmp_path / "null.dat", 0o600 | stat.S_IFCHR, os.makedev(1, 3))
        os.mknod(tmp_path / "loop.dat", 0o600 | stat.S_IFBLK, os.makedev(7, 0))
        devices = {"null.dat": stat.S_ISCHR, "loop.dat": stat.S_ISBLK}
    except PermissionError:
        pass  # without the right to make device nodes, the other kinds are still tried
    for name in devices:
        planted[f"a device ({name})"] = tmp_path / name
    for kind, path in planted.items():
        with pytest.raises(orv.PackError, match=f"{path.name} is {kind.split(' (')[0]}"):
            writer.write(path)
    assert planted["a symbolic link"].is_symlink() and target.read_bytes() == b"keep"
    assert stat.S_ISFIFO(os.lstat(planted["a FIFO"]).st_mode)
    assert planted["a folder"].is_dir() and not any(planted["a folder"].iterdir())
    for name, is_kind in devices.items():
        assert is_kind(os.lstat(tmp_path / name).st_mode)
    assert sorted(p.name for p in tmp_path.iterdir()) == sorted(["target.dat", *(p.name for p in planted.values())])

    assert writer.write(target) == str(target)
    assert target.read_bytes()[:4] == b"pack"


def laid_in_frame_order(animation):
    """The animation's frames rewritten in the order of their numbers, so that a raw frame's
    copy, which runs to the end of the data, holds every frame after it."""
    count = struct.unpack_from("<I", animation)[0] // 4
    offsets = struct.unpack_from(f"<{count}I", animation)
    starts = sorted(set(offsets)) + [len(animation)]
    pieces = [animation[at:starts[starts.index(at) + 1]] for at in offsets]
    table, data = [], b""
    for piece in pieces:
        table.append(4 * count + len(data))
        data += piece
    return struct.pack(f"<{count}I", *table) + data


@pytest.mark.parametrize("raw", [1, 2, 3, 4])
@pytest.mark.parametrize("whole_folder", [True, False])
def test_an_edited_frame_beside_a_raw_frame_is_packed_or_refused(tmp_path, raw, whole_folder):
    """orvpack --base never reports an animation as changed and then writes the original:
    each picture frame of an animation with a raw frame at each position is edited in turn,
    the folder whole or holding the edited file alone."""
    rng = np.random.default_rng(raw)
    frames = [bytes([5, 1, 2, 3, number]) if number == raw else few_colours(rng, 6, 8, 4) for number in range(1, 5)]
    made = orv.Writer()
    made.add_animation("walk.ani", frames)
    made.write(tmp_path / "made.dat")
    with orv.open(tmp_path / "made.dat") as archive:
        animation = laid_in_frame_order(archive["walk.ani"].data())
    base = orv.Writer()
    base.add_bytes("walk.ani", animation)
    base.add_bytes("x.txt", b"x")
    base.write(tmp_path / "base.dat")
    converted = convert(tmp_path / "base.dat", tmp_path / "out")
    for number in (n for n in range(1, 5) if n != raw):
        name = f"walk_{number:04d}.png"
        folder = tmp_path / f"edit{number}"
        if whole_folder:
            shutil.copytree(converted, folder)
        else:
            folder.mkdir()
        edited = png_pixels(converted / name).copy()
        edited[0, 0] = next(c for c in edited.reshape(-1, 3) if (c != edited[0, 0]).any())
        Image.fromarray(edited).save(folder / name)
        packed = tmp_path / f"packed{number}.dat"
        done = subprocess.run([ORVPACK, "--base", tmp_path / "base.dat", "-o", packed, folder], capture_output=True)
        if done.returncode != 0:
            assert done.returncode == 1 and name.encode() in done.stderr and not packed.exists(), done.stderr
            continue
        assert b"changed: walk.ani (from " in done.stderr
        with orv.open(packed) as archive:
            assert archive["walk.ani"].data() != animation
        again = convert(packed, tmp_path / f"again{number}")
        np.testing.assert_array_equal(png_pixels(again / name), edited)


@pytest.mark.parametrize("animation", ["webp", "gif", "sheet"])
def test_pack_folder_takes_orvpacks_animation_verbose_and_remove(sample, tmp_path, animation):
    assert run_cli("--animation", animation, "-o", tmp_path, sample / "sample.dat").returncode == 0
    folder = tmp_path / "sample"
    notes = []
    ours = orv.pack_folder(folder, output=tmp_path / "ours.dat", animation=animation, verbose=True,
                           note=notes.append)
    theirs = subprocess.run([ORVPACK, "--animation", animation, "-v", "-o", tmp_path / "theirs.dat", folder],
                            capture_output=True, check=True)
    assert (tmp_path / "ours.dat").read_bytes() == (tmp_path / "theirs.dat").read_bytes()
    assert ["orvpack: " + note for note in notes] == theirs.stderr.decode().splitlines()
    with orv.open(ours) as archive:
        assert archive["walk.ani"].kind == "animation"

    frames = tmp_path / "frames"
    assert run_cli("-o", frames, sample / "sample.dat").returncode == 0
    removed = orv.pack_folder(frames / "sample", output=tmp_path / "removed.dat", base=sample / "sample.dat",
                              remove=["credits.csv"])
    with orv.open(removed) as archive:
        assert "credits.csv" not in [entry.shown for entry in archive]
    with pytest.raises(ValueError):
        orv.pack_folder(folder, output=tmp_path / "x.dat", animation="apng")


def test_a_base_may_be_an_animation_file_or_cut_short(sample, tmp_path):
    unchanged = orv.Writer(base=sample / "walk.ani").write(tmp_path / "same.ani")
    assert (tmp_path / "same.ani").read_bytes() == (sample / "walk.ani").read_bytes()
    with orv.open(unchanged) as animation:
        assert len(list(animation)) == 1

    whole = (sample / "sample.dat").read_bytes()
    with orv.open(sample / "sample.dat") as archive:
        last = list(archive)[-1]
        (tmp_path / "cut.dat").write_bytes(whole[: last.offset - 10])
        kept = {entry.name: entry.data() for entry in archive if entry.offset + entry.size <= last.offset - 10}
    writer = orv.Writer(base=tmp_path / "cut.dat")
    writer.add_bytes("added.txt", b"added")
    with orv.open(writer.write(tmp_path / "written.dat")) as archive:
        for entry in archive:
            if entry.name in kept:
                assert entry.data() == kept[entry.name], entry.name
        assert archive["added.txt"].data() == b"added"


def picture_entry(kind, numbers, colours, tokens):
    """Hand-built picture entry bytes: type, sizes (and rectangle), a palette with the given
    colours (index: blue, green, red), the tokens as given."""
    palette = bytearray(384)
    for index, colour in colours.items():
        palette[3 * index : 3 * index + 3] = bytes(colour)
    return bytes([kind]) + struct.pack(f"<{len(numbers)}H", *numbers) + bytes(palette) + bytes(tokens)


def test_an_animation_that_shows_a_replaced_picture_left_in_the_canvas_is_remade(tmp_path):
    """Frame 2 (4 x 4) draws one pixel over what the 4 x 4 picture before the animation
    left in the canvas block: replacing that picture must not change the frame."""
    big = picture_entry(0, (4, 4), {0: (9, 8, 7)}, [0x80, 0x1F, 0x80])
    frame1 = picture_entry(0, (1, 1), {0: (0xA0, 0xB0, 0xC0)}, [0x80])
    frame2 = picture_entry(2, (4, 4, 0, 0, 1, 1), {0: (1, 2, 3)}, [0x80])
    made = orv.Writer()
    made.add_bytes("big.cg", big)
    made.add_bytes("walk.ani", struct.pack("<2I", 8, 8 + len(frame1)) + frame1 + frame2)
    made.write(tmp_path / "base.dat")
    with orv.open(tmp_path / "base.dat") as archive:
        before = [np.asarray(frame.pixels).copy() for frame in archive["walk.ani"].frames()]

    writer = orv.Writer(base=tmp_path / "base.dat")
    writer.add_picture("big.cg", np.full((4, 4, 3), 200, dtype=np.uint8))
    with orv.open(writer.write(tmp_path / "edited.dat")) as archive:
        after = [np.asarray(frame.pixels) for frame in archive["walk.ani"].frames()]
    assert len(after) == len(before) == 2
    for was, now in zip(before, after):
        np.testing.assert_array_equal(now, was)
    assert any(note.startswith("remade: walk.ani") for note in writer.notes), writer.notes
