#!/bin/sh
# Decoding every picture of the one-archive corpus (200 pictures of 640x480) into memory:
# through orv into numpy arrays (python_read.py) against the reading API alone in C++
# (read_pictures). Each pass runs both in turn, each timing ROUNDS rounds inside its
# process after one not counted, so that interpreter start-up, imports and a cold
# allocator are not counted; a pass gives each side's median round. Prints the median,
# minimum and maximum of those over the passes, and of the ratio pass by pass.
#   BUILD=DIR   a build tree (default: `make build`, then build/)
#   PASSES=N    passes (default 7)
#   ROUNDS=N    counted rounds a process (default 5)
#   WORK=DIR    scratch folder (default: a new folder under $TMPDIR or /tmp)
set -eu
. "$(dirname "$0")/common.sh"
bench_build
bench_require "$BUILD/bench/make_corpus" "$BUILD/bench/read_pictures"
bench_work orvconv-python-read
export PYTHONPATH=$BUILD/python
bench_read_ratio "orv + numpy" orv /usr/bin/python3 "$root/bench/python_read.py"
