#!/bin/sh
# orvconv-thumbnailer as a file manager runs it: one whole process a file, at the sizes
# file managers ask for (128 and 256), on every archive of the throughput corpus and on the
# sample's archive and animation file. Prints the median time of one process with its
# minimum and maximum, and the largest peak memory.
#
# usage: bench/thumbnailer_bench.sh [ROUNDS]        (default 5 rounds)
#   BUILD=DIR   a built tree to take the programs from (default: `make build`, then build/)
#   WORK=DIR    scratch folder, about 200 MB (default: a new folder under $TMPDIR or /tmp,
#               removed at the end)
set -eu

rounds=${1:-5}
. "$(dirname "$0")/common.sh"
bench_build
thumbnailer=$BUILD/bin/orvconv-thumbnailer
bench_require "$thumbnailer" "$BUILD/bench/make_corpus" /usr/bin/time
bench_work orvconv-thumbnailer-bench

"$BUILD/bench/make_corpus" "$work/corpus" >&2
cp "$BUILD/sample/sample.dat" "$BUILD/sample/walk.ani" "$work/corpus/"
inputs=$(find "$work/corpus" -name '*.dat' -o -name '*.ani' | sort)
echo "$(echo "$inputs" | wc -l) inputs, $rounds rounds, sizes 128 and 256" >&2

round=1
while [ "$round" -le "$rounds" ]; do
  for input in $inputs; do
    for size in 128 256; do
      start=$(date +%s%N)
      /usr/bin/time -f %M -o "$work/kib.last" "$thumbnailer" -s "$size" "$input" "$work/thumbnail.png"
      end=$(date +%s%N)
      echo "$start $end" | awk '{ printf "%.4f\n", ($2 - $1) / 1e9 }' >>"$work/seconds"
      cat "$work/kib.last" >>"$work/kib"
    done
  done
  round=$((round + 1))
done

median "$work/seconds" | awk -v runs="$(wc -l <"$work/seconds")" '{
  printf "one thumbnail, whole process: median %.1f ms (min %.1f, max %.1f) over %d runs\n", $1 * 1000, $2 * 1000, $3 * 1000, runs }'
printf 'peak memory: %d KiB at most\n' "$(sort -n "$work/kib" | tail -n 1)"
