#!/bin/sh
# orvpack's picture encoder on the bundled sample and on the throughput corpus (600
# pictures of 640x480, 60 of them animation frames): pictures packed per second, and each
# picture or animation entry's size relative to the 24-bit BMP files and to the PNG files
# orvconv-cli writes for it. Prints medians (with min and max for the timings).
#
# usage: bench/pack_bench.sh [ROUNDS]        (default 5 rounds)
#   BUILD=DIR   a built tree to take the programs from (default: `make build`, then build/)
#   WORK=DIR    scratch folder, about 1.5 GB (default: a new folder under $TMPDIR or /tmp,
#               removed at the end)
set -eu

rounds=${1:-5}
. "$(dirname "$0")/common.sh"
bench_build
cli=$BUILD/bin/orvconv-cli
pack=$BUILD/bin/orvpack
bench_require "$cli" "$pack" "$BUILD/bench/make_corpus" /usr/bin/time
bench_work orvpack-bench

echo "Making the corpus and converting it to BMP and PNG..." >&2
"$BUILD/bench/make_corpus" "$work/corpus"
cp "$BUILD/sample/sample.dat" "$work/corpus/"
for format in bmp png; do
  "$cli" -q -f "$format" -o "$work/$format" "$work/corpus"/*.dat
done

# Folders holding only the pictures, so that the timings are the encoder's.
for folder in "$work"/bmp/*/; do
  name=$(basename "$folder")
  mkdir -p "$work/pictures/$name"
  find "$folder" -maxdepth 1 -name '*.bmp' -exec ln {} "$work/pictures/$name/" \;
done
pictures=$(find "$work/pictures" -name '*.bmp' | wc -l)

echo "Timing orvpack on $pictures pictures, $rounds rounds..." >&2
mkdir -p "$work/packed"
for round in $(seq "$rounds"); do
  /usr/bin/time -f %e -a -o "$work/seconds" sh -c '
    for folder in "$1"/pictures/*/; do
      "$2" -q -o "$1/packed/$(basename "$folder").dat" "$folder" || exit 1
    done' sh "$work" "$pack"
done

# Sizes: each .cg entry against its picture file, each .ani entry against its frames.
for folder in "$work"/bmp/*/; do
  name=$(basename "$folder")
  "$cli" --list "$work/packed/$name.dat" | while IFS="$(printf '\t')" read -r index entry offset size kind; do
    case $kind in
      image) stem=${entry%.cg}; files=$stem ;;
      animation) stem=${entry%.ani}; files=${stem}_[0-9][0-9][0-9][0-9] ;;
      *) continue ;;
    esac
    bmp=$(cat "$work/bmp/$name/"$files.bmp | wc -c)
    png=$(cat "$work/png/$name/"$files.png | wc -c)
    echo "$size $bmp $png"
  done
done >"$work/sizes"

awk '{ print $1 / $2 }' "$work/sizes" >"$work/to_bmp"
awk '{ print $1 / $3 }' "$work/sizes" >"$work/to_png"
awk -v n="$pictures" '{ print n / $1 }' "$work/seconds" >"$work/rate"
echo "pictures: $pictures in $(ls "$work/pictures" | wc -l) folders; entries measured: $(wc -l <"$work/sizes")"
printf '%-44s %10s %10s %10s\n' "" median min max
printf '%-44s %10s %10s %10s\n' "pictures per second (orvpack, -j as cores)" $(median "$work/rate")
printf '%-44s %10s %10s %10s\n' "entry size / 24-bit BMP size" $(median "$work/to_bmp")
printf '%-44s %10s %10s %10s\n' "entry size / orvconv-cli PNG size" $(median "$work/to_png")
