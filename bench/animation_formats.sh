#!/bin/sh
# What one animation of 100 frames of 640x480 costs as each --animation choice: the
# frames as numbered PNG files, one animated WebP, one looping GIF, one PNG sprite sheet
# (10 columns). Each round runs the four in turn with -j 1; the medians of the wall
# times give frames per second, beside the size of what was written.
#
# usage: bench/animation_formats.sh [ROUNDS]        (default 5 rounds)
#   BUILD=DIR   a built tree to take the programs from (default: `make build`, then build/)
#   WORK=DIR    scratch folder (default: a new folder under $TMPDIR or /tmp, removed at the end)
set -eu

rounds=${1:-5}
. "$(dirname "$0")/common.sh"
bench_build
cli=$BUILD/bin/orvconv-cli
bench_require "$cli" "$BUILD/bench/make_corpus"
bench_work orvconv-animation
"$BUILD/bench/make_corpus" --animation "$work"
frames=100

options() {
  case $1 in
    frames) echo "--animation frames -f png" ;;
    sheet) echo "--animation sheet --sheet-columns 10" ;;
    *) echo "--animation $1" ;;
  esac
}

modes="frames webp gif sheet"
for round in $(seq "$rounds"); do
  for mode in $modes; do
    rm -rf "$work/$mode"
    start=$(date +%s.%N)
    # shellcheck disable=SC2046
    "$cli" -q -j 1 -o "$work/$mode" $(options "$mode") "$work/walk.ani"
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN { print b - a }' >>"$work/$mode.times"
  done
  echo "round $round of $rounds done" >&2
done

printf '%-8s %10s %10s %12s\n' choice "median s" "frames/s" "bytes"
for mode in $modes; do
  seconds=$(median "$work/$mode.times" | cut -d' ' -f1)
  bytes=$(find "$work/$mode/walk" -type f -printf '%s\n' | awk '{ n += $1 } END { print n }')
  printf '%-8s %10.3f %10.1f %12s\n' "$mode" "$seconds" "$(awk -v f="$frames" -v s="$seconds" 'BEGIN { print f / s }')" "$bytes"
done
