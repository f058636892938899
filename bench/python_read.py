# SPDX-License-Identifier: GPL-3.0-or-later
"""Every picture of an archive decoded through orv into numpy arrays, as read_pictures
does in C++: one line of seconds a round, the archive opened anew each round.

usage: python3 python_read.py ARCHIVE ROUNDS   (with the orv package on PYTHONPATH)
"""

import sys
import time

import numpy

import orv


def main():
    path, rounds = sys.argv[1], int(sys.argv[2])
    for _ in range(rounds):
        start = time.perf_counter()
        total = 0
        with orv.open(path) as archive:
            for entry in archive:
                if entry.kind == "picture":
                    total += numpy.asarray(entry.picture()).nbytes
        print(f"{time.perf_counter() - start:.6f} {total}")


if __name__ == "__main__":
    main()
