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
