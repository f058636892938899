#!/bin/sh
# End-to-end throughput of orvconv-cli on a large synthetic corpus, against floors that
# any user could reach some other way. One run times, side by side and interleaved round
# by round:
#   (a) orvconv-cli -f bmp (as many files at once as there are cores)
#   (b) cp -r of a folder holding the same files (a) writes
#   (c) orvconv-cli -f png -j 1
#   (d) png_floor: the same pixels encoded with libpng alone, same settings, one core
#   (e) orvconv-cli -f png -j 2
# and, on a second corpus of one archive (200 pictures of 640x480 and a 10-frame
# animation), whose pictures only the threads within one input can share:
#   (f) orvconv-cli -f png -j 1
#   (g) orvconv-cli -f png -j 2
#   (h) png_floor on the same pixels
# and prints medians with their spread, the ratios (a)/(b), (c)/(d), (e)/(d), (g)/(f),
# (g)/(h) per round, and the peak memory of (e) and (g).
#
# usage: bench/throughput.sh [ROUNDS]        (default 5 rounds)
#   BUILD=DIR   a built tree to take the programs from (default: `make build`, then build/)
#   WORK=DIR    scratch folder for the corpus and the outputs, about 1.4 GB (default: a new
#               folder under $TMPDIR or /tmp, removed at the end); a RAM-backed folder such
#               as /dev/shm keeps disk write-back out of the figures
set -eu

rounds=${1:-5}
. "$(dirname "$0")/common.sh"
bench_build
cli=$BUILD/bin/orvconv-cli
bench_require "$cli" "$BUILD/bench/make_corpus" "$BUILD/bench/png_floor" /usr/bin/time
bench_work orvconv-throughput

corpus=$work/corpus
reference=$work/reference
one=$work/one
oneReference=$work/one-reference
out=$work/out
times=$work/times
mkdir -p "$times"

echo "Making the corpus and the reference BMP files..." >&2
"$BUILD/bench/make_corpus" "$corpus"
mkdir -p "$reference"
"$cli" -q -f bmp -j 1 -o "$reference" "$corpus"/*.dat
"$BUILD/bench/make_corpus" --one-archive "$one"
mkdir -p "$oneReference"
"$cli" -q -f bmp -j 1 -o "$oneReference" "$one"/one.dat

cores=$(nproc)
pictures=$(find "$reference" -name '*.bmp' | wc -l)
sounds=$(find "$reference" -name '*.wav' | wc -l)
echo "corpus: $(find "$corpus" -name '*.dat' | wc -l) archives, $pictures pictures of 640x480 (animation frames" \
  "among them), $sounds sounds, $(du -sh "$corpus" | cut -f1) in; $(du -sh "$reference" | cut -f1)" \
  "of BMP output; $cores cores; $rounds rounds"

# run NAME COMMAND...: times one run into a fresh output folder; appends its wall seconds
# to times/NAME and its peak resident memory in KiB to times/NAME.kib.
run() {
  name=$1
  shift
  rm -rf "$out"
  mkdir -p "$out"
  sync
  start=$(date +%s%N)
  /usr/bin/time -f %M -o "$times/$name.last" "$@"
  end=$(date +%s%N)
  echo "$start $end" | awk '{ printf "%.4f\n", ($2 - $1) / 1e9 }' >>"$times/$name"
  tail -n 1 "$times/$name.last" >>"$times/$name.kib"
}

round=1
while [ "$round" -le "$rounds" ]; do
  run a "$cli" -q -f bmp -o "$out" "$corpus"/*.dat
  run b cp -r "$reference" "$out/copy"
  run c "$cli" -q -f png -j 1 -o "$out" "$corpus"/*.dat
  run d "$BUILD/bench/png_floor" "$reference" "$out"
  run e "$cli" -q -f png -j 2 -o "$out" "$corpus"/*.dat
  run f "$cli" -q -f png -j 1 -o "$out" "$one"/one.dat
  run g "$cli" -q -f png -j 2 -o "$out" "$one"/one.dat
  run h "$BUILD/bench/png_floor" "$oneReference" "$out"
  printf 'round %d/%d:' "$round" "$rounds"
  for name in a b c d e f g h; do printf '  %s %ss' "$name" "$(tail -n 1 "$times/$name")"; done
  echo
  round=$((round + 1))
done

# row LABEL FILE [NOTE]: the median, minimum and maximum of the numbers in FILE, one a line
row() {
  # shellcheck disable=SC2046
  printf '%-48s %9.3f %9.3f %9.3f %s\n' "$1" $(median "$2") "${3:-}"
}

# ratio A B: the per-round ratios of two variants' times, into times/AB
ratio() {
  paste "$times/$1" "$times/$2" | awk '{ printf "%.4f\n", $1 / $2 }' >"$times/$1$2"
}

echo
printf '%-48s %9s %9s %9s\n' "wall seconds" median min max
row "(a) orvconv-cli -f bmp (-j $cores)" "$times/a"
row "(b) cp -r of the same files" "$times/b"
row "(c) orvconv-cli -f png -j 1" "$times/c"
row "(d) libpng alone, one core" "$times/d"
row "(e) orvconv-cli -f png -j 2" "$times/e"
row "(f) one archive, orvconv-cli -f png -j 1" "$times/f"
row "(g) one archive, orvconv-cli -f png -j 2" "$times/g"
row "(h) one archive, libpng alone, one core" "$times/h"

echo
printf '%-48s %9s %9s %9s %s\n' "ratio, per round" median min max target
ratio a b
ratio c d
ratio e d
ratio g f
ratio g h
row "(a)/(b)" "$times/ab" "<= 1.5"
row "(c)/(d)" "$times/cd" "<= 1.05"
row "(e)/(d)" "$times/ed" "<= 0.55 on 2 cores"
row "(g)/(f)" "$times/gf" "<= 0.55 on 2 cores"
row "(g)/(h)" "$times/gh" "<= 0.55 on 2 cores"

echo
for name in e g; do
  awk '{ printf "%.1f\n", $1 / 1024 }' "$times/$name.kib" >"$times/$name.mib"
  row "peak memory of ($name), MiB" "$times/$name.mib"
done
