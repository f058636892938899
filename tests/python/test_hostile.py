# SPDX-License-Identifier: GPL-3.0-or-later
"""Inputs cut short, mutated or lying about their sizes: every read ends in a value or in
orv.Error with orvconv-cli's text; nothing leaks across many opens."""

import errno
import gc
import os
import random
import stat
import struct
import subprocess
import sys
import tracemalloc
from concurrent.futures import ThreadPoolExecutor

import pytest

import orv
from conftest import run_cli

np = pytest.importorskip("numpy", reason="the venv has no numpy")
Image = pytest.importorskip("PIL.Image", reason="the venv has no Pillow")


def read_everything(path, kind=None):
    """Every entry read every way; orv.Error is an answer, anything else fails the test."""
    try:
        opened = orv.open(path, kind=kind)
    except orv.NotAnInputError:
        return
    with opened:
        for entry in opened:
            for read in (entry.data, entry.picture, entry.frames, entry.sound, entry.wav_bytes):
                try:
                    read() if read == entry.data else read(any_kind=True)
                except orv.Error:
                    pass
            for detail in ("picture_size", "frame_count", "sound_format"):
                getattr(entry, detail)


def cli_error_lines(*paths):
    done = run_cli("-o", os.devnull + "-not-a-folder", *paths)
    return [line.removeprefix("orvconv-cli: ") for line in done.stderr.decode().splitlines()]


def test_errors_are_pythons_and_name_what_the_cli_names(tmp_path):
    missing = tmp_path / "missing.dat"
    with pytest.raises(FileNotFoundError) as raised:
        orv.open(missing)
    assert raised.value.errno == errno.ENOENT and raised.value.filename == missing
    assert cli_error_lines(missing)[-1] == f"{missing}: {raised.value.strerror}"
    with pytest.raises(IsADirectoryError) as raised:
        orv.open(tmp_path)
    assert raised.value.filename == tmp_path

    not_pack = tmp_path / "x.dat"
    not_pack.write_bytes(b"nope")
    with pytest.raises(orv.NotAnInputError) as raised:
        orv.open(not_pack)
    assert str(raised.value) == cli_error_lines(not_pack)[0]


def test_a_sound_of_unknown_format_names_the_input_and_the_entry(sample, tmp_path):
    data = bytearray((sample / "sample.dat").read_bytes())
    with orv.open(sample / "sample.dat") as archive:
        sound = archive["beep6.pcm"]
        data[sound.offset + 3] = 99
    bad = tmp_path / "bad.dat"
    bad.write_bytes(bytes(data))
    with orv.open(bad) as archive:
        assert archive["beep6.pcm"].sound_format is None
        with pytest.raises(orv.Error) as raised:
            archive["beep6.pcm"].sound()
    assert str(raised.value) == f"{bad}: beep6.pcm: sound format code 99 is none of 6, 7 and 10"
    # The engine's own text names the file conversion would write.
    assert raised.value.engine_text.splitlines()[0] == "未知の形式です！"


def test_cut_and_mutated_archives_never_crash(sample, tmp_path):
    original = (sample / "sample.dat").read_bytes()
    rng = random.Random(26)
    path = tmp_path / "hostile.dat"
    for length in range(0, len(original), 997):
        path.write_bytes(original[:length])
        read_everything(path)
    for _ in range(150):
        data = bytearray(original)
        for _ in range(rng.randint(1, 12)):
            at = rng.randrange(4, len(data))
            data[at] = rng.randrange(256)
        path.write_bytes(bytes(data))
        read_everything(path)


def test_lone_picture_bytes_cut_or_mutated_never_crash(sample):
    with orv.open(sample / "sample.dat") as archive:
        original = archive["tiles.cg"].data()
        width, height = archive["tiles.cg"].picture_size
    rng = random.Random(5)
    for length in range(len(original) + 1):
        pixels = orv.decode_picture(original[:length])
        assert pixels is None or isinstance(pixels, (orv.Pixels, bytes))
    for _ in range(300):
        data = bytearray(original)
        for _ in range(rng.randint(1, 16)):
            # The header kept: its size asks for the canvas, which the reading API bounds.
            data[rng.randrange(13, len(data))] = rng.randrange(256)
        pixels = orv.decode_picture(bytes(data))
        assert (pixels.width, pixels.height) == (width, height)


def test_mutated_animation_files_never_crash(sample, tmp_path):
    original = (sample / "walk.ani").read_bytes()
    rng = random.Random(2026)
    path = tmp_path / "hostile.ani"
    for _ in range(150):
        data = bytearray(original)
        for _ in range(rng.randint(1, 8)):
            data[rng.randrange(len(data))] = rng.randrange(256)
        path.write_bytes(bytes(data[: rng.randint(0, len(data))]))
        read_everything(path)
        read_everything(path, kind="animation")


def test_a_table_claiming_every_entry_is_cheap_to_walk(tmp_path):
    # 65,535 records of which the file holds none: each reads as zeros, past the end.
    path = tmp_path / "claims.dat"
    path.write_bytes(b"pack" + struct.pack("<H", 65535))
    with orv.open(path) as archive:
        assert len(archive) == 65535 and archive.past_end
        assert sum(1 for entry in archive if entry.past_end and entry.size == 0) == 65535
        assert archive[65534].data() == b""


def open_fds():
    return len(os.listdir("/proc/self/fd"))


def rss_bytes():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * os.sysconf("SC_PAGE_SIZE")


def test_many_opens_leak_neither_descriptors_nor_memory(sample):
    def work():
        archive = orv.open(sample / "sample.dat")
        np.asarray(archive["title.cg"].picture()).sum()
        list(archive["walk.ani"].frames())
        archive["tone10.pcm"].wav_bytes()
        if random.random() < 0.5:
            archive.close()

    for _ in range(20):
        work()
    gc.collect()
    fds, rss = open_fds(), rss_bytes()
    tracemalloc.start()
    before = tracemalloc.take_snapshot()
    for _ in range(400):
        work()
    gc.collect()
    after = tracemalloc.take_snapshot()
    tracemalloc.stop()
    grown = sum(stat.size_diff for stat in after.compare_to(before, "filename"))
    assert open_fds() == fds
    assert grown < 64 * 1024
    # 400 leaked title pictures alone would be 90 MB; the sanitizer's quarantine holds
    # freed memory on purpose.
    if "LD_PRELOAD" not in os.environ:
        assert rss_bytes() - rss < 16 * 1024 * 1024


def test_threads_share_one_input(sample):
    with orv.open(sample / "sample.dat") as archive:
        names = [e.shown for e in archive if e.kind in ("picture", "animation")] * 8
        serial = [rendered(archive[n]) for n in names]
        with ThreadPoolExecutor(4) as pool:
            parallel = list(pool.map(lambda n: rendered(archive[n]), names))
    assert parallel == serial


def rendered(entry):
    if entry.kind == "picture":
        return entry.picture().tobytes()
    return b"".join(f.pixels.tobytes() for f in entry.frames() if f.pixels is not None)


def test_empty_pictures_are_empty_images_and_odd_files_no_input(tmp_path):
    """A picture 0 pixels wide or high is an image of that size, not Pillow's ValueError;
    a FIFO or a device node (made in the test's folder) is orv.NotAnInputError with
    orvconv-cli's text, never an OSError without a system error."""
    writer = orv.Writer()
    sizes = [(0, 5), (5, 0), (0, 0), (0, 65535)]
    for width, height in sizes:
        writer.add_bytes(f"{width}x{height}.cg", struct.pack("<BHH", 0, width, height) + bytes(384))
    writer.add_bytes("walk.ani", struct.pack("<I", 4) + struct.pack("<BHH", 0, 0, 7) + bytes(384))
    path = tmp_path / "empty.dat"
    writer.write(path)
    with orv.open(path) as archive:
        for (width, height), entry in zip(sizes, archive):
            image = entry.image()
            assert image.size == (width, height) and image.mode == "RGB"
        frames = [frame for frame in archive["walk.ani"].frames() if frame.pixels is not None]
        assert [frame.image().size for frame in frames] == [(0, 7)]

    os.mkfifo(tmp_path / "fifo.dat")
    odd = [tmp_path / "fifo.dat"]
    try:
        os.mknod(tmp_path / "zero.ani", 0o600 | stat.S_IFCHR, os.makedev(1, 5))
        odd.append(tmp_path / "zero.ani")
    except PermissionError:
        pass  # without the right to make device nodes, the FIFO is still tried
    for node in odd:
        with pytest.raises(orv.NotAnInputError) as raised:
            orv.open(node)
        assert str(raised.value) == cli_error_lines(node)[-1]


def test_image_of_a_huge_claim_is_refused_before_it_is_drawn(tmp_path):
    """389 bytes claiming 65535 x 5040 pixels (990 MB): image() refuses it from its header,
    as Pillow would take such a file for a decompression bomb, and the process stays
    small; frames beyond the limit are refused the same way."""
    writer = orv.Writer()
    writer.add_bytes("huge.cg", struct.pack("<BHH", 0, 65535, 5040) + bytes(384) + b"\x80")
    writer.write(tmp_path / "huge.dat")
    script = (
        "import sys, orv\n"
        "with orv.open(sys.argv[1]) as archive:\n"
        "    try:\n"
        "        archive['huge.cg'].image()\n"
        "    except orv.Error as error:\n"
        "        print(error)\n"
        "import resource\n"
        "print(resource.getrusage(resource.RUSAGE_SELF).ru_maxrss)\n"
    )
    done = subprocess.run([sys.executable, "-c", script, tmp_path / "huge.dat"], capture_output=True, check=True)
    refusal, peak_kb = done.stdout.decode().splitlines()
    assert refusal == "huge.cg: 65535 x 5040 pixels, more than PIL.Image.MAX_IMAGE_PIXELS (89478485)"
    if "LD_PRELOAD" not in os.environ:  # the sanitizer's shadow memory says nothing of ours
        assert int(peak_kb) < 1_200_000
