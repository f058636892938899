# SPDX-License-Identifier: GPL-3.0-or-later
"""Entries read as files and read whole, in bounded memory. Needs neither numpy nor Pillow."""

import os
import subprocess
import sys

import pytest

import orv
from conftest import sparse_archive


def test_an_entry_opens_as_a_file(tmp_path):
    """entry.open() reads where asked, as ZipFile.open."""
    blob = os.urandom(64 << 20)
    writer = orv.Writer()
    writer.add_bytes("blob.bin", blob)
    writer.write(tmp_path / "blob.dat")
    del writer
    with orv.open(tmp_path / "blob.dat") as archive, archive["blob.bin"].open() as file:
        assert file.read(5) == blob[:5]
        file.seek(-3, os.SEEK_END)
        assert file.read() == blob[-3:] and file.read(1) == b""
        file.seek(1 << 20)
        assert file.read(1 << 20) == blob[1 << 20 : 2 << 20]


# How much the peak of a child's memory (VmHWM: getrusage's would start from its parent's)
# grows while it reads the entry whole one way, as a multiple of the entry's size. For
# frames, what handing out the first frame's data costs, the iterator holding the entry.
PEAK = """
import re, sys, orv
def peak():
    return int(re.search(r"VmHWM:\\s*(\\d+)", open("/proc/self/status").read()).group(1)) * 1024
with orv.open(sys.argv[1]) as archive:
    entry = archive[0]
    read = iter(entry.frames()).__next__ if sys.argv[2] == "frames" else getattr(entry, sys.argv[2])
    before = peak()
    got = read()
    got = got.data if isinstance(got, orv.Frame) else got
    print(len(got if isinstance(got, bytes) else got.samples), (peak() - before) / entry.size)
"""


@pytest.mark.parametrize(
    "name, head, method, length",
    [
        ("big.pcm", [0, 0, 0, 6], "data", 0),
        ("big.pcm", [0, 0, 0, 6], "sound", -4),
        ("big.pcm", [0, 0, 0, 6], "wav_bytes", 40),
        ("big.cg", [7, 0, 0, 0], "picture", 0),  # a type conversion copies as it is
        ("big.ani", [4, 0, 0, 0, 7, 0, 0, 0], "frames", -4),  # one frame at 4, copied as it is
    ],
)
def test_a_whole_read_holds_the_entry_once(tmp_path, name, head, method, length):
    """data(), sound(), wav_bytes(), picture() and a raw frame's data of a 64 MiB entry grow
    the process by about the entry's size (they held three copies of it, all but data(); the
    frame two, beside the entry the iterator holds)."""
    size = 64 << 20
    path = sparse_archive(tmp_path / "big.dat", name, bytes(head), size)
    done = subprocess.run([sys.executable, "-c", PEAK, path, method], capture_output=True, check=True)
    got, grown = done.stdout.split()
    assert int(got) == size + length
    if "LD_PRELOAD" not in os.environ:  # the sanitizer's shadow memory says nothing of ours
        assert float(grown) < 1.2


FRAMES = r"""
import itertools, re, sys, orv

def peak():
    return int(re.search(r"VmHWM:\s*(\d+)", open("/proc/self/status").read()).group(1)) * 1024

def read_so_far():
    with open("/proc/self/io", encoding="ascii") as io:
        return int(next(line for line in io if line.startswith("rchar:")).split()[1])

one, other = bytes(range(96)) * 128, bytes(range(95, -1, -1)) * 128
with orv.open(sys.argv[1]) as archive:
    before, read_before = peak(), read_so_far()
    frames = archive[0].frames()
    shown = [next(frames)]
# The rest after the input is closed: the iterator holds what it composes from.
count, exact = 0, True
for frame in itertools.chain(shown, frames):
    exact = exact and frame.pixels.tobytes() == (one if count % 2 == 0 else other)
    count += 1
print(count, exact, peak() - before, read_so_far() - read_before)
"""


def test_frames_are_composed_one_at_a_time(tmp_path):
    """frames() is an iterator: 4,000 frames of 64 x 64 (48 MiB all at once) come one at a
    time, exactly the pictures given to the writer, the entry's bytes read about twice (its
    frames' uses of the canvas, then its frames), not once a frame, in about
    the memory of the entry and one frame; after the input is closed too."""
    one = memoryview(bytes(range(96)) * 128).cast("B", (64, 64, 3))
    other = memoryview(bytes(range(95, -1, -1)) * 128).cast("B", (64, 64, 3))
    writer = orv.Writer()
    writer.add_animation("long.ani", [one, other] * 2000)
    path = writer.write(tmp_path / "long.dat")
    size = os.path.getsize(path)
    done = subprocess.run([sys.executable, "-c", FRAMES, path], capture_output=True, check=True)
    count, exact, grown, read = done.stdout.split()
    assert (int(count), exact) == (4000, b"True")
    assert int(read) < 3 * size
    if "LD_PRELOAD" not in os.environ:
        assert int(grown) < size + (8 << 20) < 4000 * 64 * 64 * 3
