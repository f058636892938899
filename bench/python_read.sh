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
passes=${PASSES:-7}
rounds=${ROUNDS:-5}

"$BUILD/bench/make_corpus" --one-archive "$work/one"
archive=$work/one/one.dat
# The median of a process's counted rounds, its first round left out.
counted() {
  tail -n +2 "$1" | tee -a "$work/all" | cut -d' ' -f1 >"$1.s"
  median "$1.s" | cut -d' ' -f1
}
for pass in $(seq "$passes"); do
  "$BUILD/bench/read_pictures" "$archive" $((rounds + 1)) >"$work/run"
  counted "$work/run" >>"$work/cpp.s"
  PYTHONPATH=$BUILD/python /usr/bin/python3 "$root/bench/python_read.py" "$archive" $((rounds + 1)) >"$work/run"
  counted "$work/run" >>"$work/python.s"
done
[ "$(cut -d' ' -f2 "$work/all" | sort -u | wc -l)" -eq 1 ] ||
  { echo "python_read.sh: the two decoded different amounts of pixels" >&2; exit 1; }
paste "$work/python.s" "$work/cpp.s" | awk '{ print $1 / $2 }' >"$work/ratio"
echo "passes: $passes of $rounds rounds; seconds as median, min, max"
echo "C++ reading API:   $(median "$work/cpp.s")"
echo "orv + numpy:       $(median "$work/python.s")"
echo "ratio orv / C++:   $(median "$work/ratio")"
