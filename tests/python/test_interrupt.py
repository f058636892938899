# SPDX-License-Identifier: GPL-3.0-or-later
"""Ctrl-C during a long call: KeyboardInterrupt, as Python's own calls raise it, and the
call stopped, never run to its end first nor turned into orv.Error. Each case runs in a
child process, whose SIGINT is its own."""

import subprocess
import sys

import pytest

import orv
from conftest import sparse_archive

FRAMES = 20000
# The archive is read through a file object. "read": SIGINT comes inside its read(), so
# that read raises KeyboardInterrupt. "draw": SIGINT comes from another thread just after
# the animation's bytes are read, while its frames are drawn (half a second's work); drawn
# to the end they would hold 20,000 x 12 KiB (240 MiB), stopped they hold next to nothing.
SCRIPT = r"""
import io, os, re, signal, sys, threading, time
import orv

case = sys.argv[2]
with open(sys.argv[1], "rb") as file:
    data = file.read()
read_once = threading.Event()

def peak():
    # This process's own peak (VmHWM): getrusage's would start from its parent's.
    return int(re.search(r"VmHWM:\s*(\d+)", open("/proc/self/status").read()).group(1))

class Source(io.BytesIO):
    def read(self, n=-1):
        got = super().read(n)
        if n > 100000:
            if case == "read":
                os.kill(os.getpid(), signal.SIGINT)
            read_once.set()
        return got

def interrupt():
    read_once.wait()
    time.sleep(0.02)  # read() has returned: the frames are being drawn
    os.kill(os.getpid(), signal.SIGINT)

if case == "draw":
    threading.Thread(target=interrupt, daemon=True).start()
with orv.open(Source(data), name="long.dat") as archive:
    before = peak()
    try:
        list(archive[0].frames())
        print("finished")
    except KeyboardInterrupt:
        grown_kib = peak() - before
        print("interrupted", "stopped" if grown_kib < 100 * 1024 else "drawn")
    except orv.Error as error:
        print("error", error)
"""


@pytest.fixture(scope="module")
def long_animation(tmp_path_factory):
    # Two pictures by turns, so that every frame is drawn whole.
    one = memoryview(bytes(range(96)) * 128).cast("B", (64, 64, 3))
    other = memoryview(bytes(range(95, -1, -1)) * 128).cast("B", (64, 64, 3))
    writer = orv.Writer()
    writer.add_animation("long.ani", [one, other] * (FRAMES // 2))
    return writer.write(tmp_path_factory.mktemp("long") / "long.dat")


@pytest.mark.parametrize("case", ["read", "draw"])
def test_ctrl_c_stops_frames(long_animation, case):
    done = subprocess.run(
        [sys.executable, "-c", SCRIPT, long_animation, case], capture_output=True, check=False, timeout=300
    )
    assert done.stdout.decode().split() == ["interrupted", "stopped"], done.stderr.decode()


# A whole read of a 256 MiB entry from a path: SIGINT comes from another thread once the
# first 16 MiB are read. Read to its end, the entry's bytes would all have been read.
WHOLE = r"""
import os, signal, sys, threading
import orv

def read_so_far():
    with open("/proc/self/io", encoding="ascii") as io:
        return int(next(line for line in io if line.startswith("rchar:")).split()[1])

with orv.open(sys.argv[1]) as archive:
    entry = archive[0]
    start = read_so_far()

    def interrupt():
        while read_so_far() - start < 16 << 20:
            pass
        os.kill(os.getpid(), signal.SIGINT)

    threading.Thread(target=interrupt, daemon=True).start()
    try:
        got = getattr(entry, sys.argv[2])(any_kind=True)
        print("finished")
    except KeyboardInterrupt:
        print("interrupted", "stopped" if read_so_far() - start < entry.size // 2 else "read")
"""


@pytest.mark.parametrize("method", ["picture", "sound", "wav_bytes"])
def test_ctrl_c_stops_whole_reads(tmp_path, method):
    # A sound entry; taken as a picture, a 0 x 6 picture behind 256 MiB of bytes.
    path = sparse_archive(tmp_path / "big.dat", "big.pcm", bytes([0, 0, 0, 6]), 256 << 20)
    done = subprocess.run([sys.executable, "-c", WHOLE, path, method], capture_output=True, check=False, timeout=300)
    assert done.stdout.decode().split() == ["interrupted", "stopped"], done.stderr.decode()


# Writer.add_animation of 10,000 frames, given as a sequence that tells when the writer has
# taken them all: SIGINT comes from another thread while they are encoded (about a second's
# work). Encoded to the end, the entry is added and the process holds some 13 MiB more.
ADD = r"""
import os, re, signal, threading, time
import orv

def peak():
    return int(re.search(r"VmHWM:\s*(\d+)", open("/proc/self/status").read()).group(1)) * 1024

one = memoryview(bytes(range(96)) * 128).cast("B", (64, 64, 3))
other = memoryview(bytes(range(95, -1, -1)) * 128).cast("B", (64, 64, 3))
taken = threading.Event()
at_signal = []

class Frames(list):
    def __iter__(self):
        yield from super().__iter__()
        taken.set()

def interrupt():
    taken.wait()
    time.sleep(0.02)
    at_signal.append(peak())
    os.kill(os.getpid(), signal.SIGINT)

threading.Thread(target=interrupt, daemon=True).start()
writer = orv.Writer()
try:
    writer.add_animation("long.ani", Frames([one, other] * 5000))
    print("finished")
except KeyboardInterrupt:
    print("interrupted", "stopped" if not writer.names and peak() - at_signal[0] < 6 << 20 else "added")
"""

# orv.decode_picture of a 6144 x 6144 picture of 150 KB (one literal, then one run): SIGINT
# comes from another thread once the first 32 MiB of its 108 MiB canvas are drawn. Stopped,
# its pixels are never turned to red, green, blue, which takes another 108 MiB.
DECODE = r"""
import os, re, signal, struct, threading
import orv

def resident(field):
    return int(re.search(field + r":\s*(\d+)", open("/proc/self/status").read()).group(1)) * 1024

side = 6144
run = side * side - 1 - 15
data = struct.pack("<BHH", 0, side, side) + bytes(384) + bytes([0x81, 0x10])
data += bytes([255]) * (run // 255) + bytes([run % 255])
start, before = resident("VmRSS"), resident("VmHWM")

def interrupt():
    while resident("VmRSS") - start < 32 << 20:
        pass
    os.kill(os.getpid(), signal.SIGINT)

threading.Thread(target=interrupt, daemon=True).start()
try:
    orv.decode_picture(data)
    print("finished")
except KeyboardInterrupt:
    print("interrupted", "stopped" if resident("VmHWM") - before < side * side * 3 * 3 // 2 else "converted")
"""


@pytest.mark.parametrize("script", [ADD, DECODE], ids=["add_animation", "decode_picture"])
def test_ctrl_c_stops_adding_and_decoding(script):
    done = subprocess.run([sys.executable, "-c", script], capture_output=True, check=False, timeout=300)
    assert done.stdout.decode().split() == ["interrupted", "stopped"], done.stderr.decode()
