# SPDX-License-Identifier: GPL-3.0-or-later
"""Entries read as files and read whole, in bounded memory. Needs neither numpy nor Pillow."""

import os
import subprocess
import sys

import orv


def test_an_entry_opens_as_a_file_and_reads_whole_in_one_copy(tmp_path):
    """entry.open() reads where asked, as ZipFile.open; data() holds the entry once: a
    64 MiB entry read whole grows the process by about 64 MiB, not by two or three copies."""
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
    # The child's own peak (VmHWM): getrusage's would start from this process's.
    script = (
        "import re, sys, orv\n"
        "def peak():\n"
        "    return int(re.search(r'VmHWM:\\s*(\\d+)', open('/proc/self/status').read()).group(1))\n"
        "with orv.open(sys.argv[1]) as archive:\n"
        "    entry = archive['blob.bin']\n"
        "    before = peak()\n"
        "    data = entry.data()\n"
        "    print(len(data), peak() - before)\n"
    )
    done = subprocess.run([sys.executable, "-c", script, tmp_path / "blob.dat"], capture_output=True, check=True)
    size, grown_kib = map(int, done.stdout.split())
    assert size == len(blob)
    if "LD_PRELOAD" not in os.environ:  # the sanitizer's shadow memory says nothing of ours
        assert grown_kib * 1024 < 1.2 * len(blob)
