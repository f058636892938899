#!/bin/sh
# What one animation of 100 frames of 640x480 costs as each --animation choice: the
# frames as numbered PNG files, one animated WebP, one looping GIF, one PNG sprite sheet
# (10 columns). Each round runs the four in turn with -j 1; the medians of the wall
# times give frames per second, beside the size of what was written.
#
# usage: bench/animation_formats.sh [ROUNDS]        (default 5 rounds)
#   BUILD=DIR   a built tree to take the programs from (default: `make build`, then build/)
set -eu

rounds=${1:-5}
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${BUILD:-}" ]; then
  make -C "$root" build >&2
  BUILD=$root/build
fi
cli=$BUILD/bin/orvconv-cli
for program in "$cli" "$BUILD/bench/make_corpus"; do
  [ -x "$program" ] || { echo "animation_formats.sh: $program is missing" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/orvconv-animation-XXXXXX")
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT TERM
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

median() { sort -n "$1" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

printf '%-8s %10s %10s %12s\n' choice "median s" "frames/s" "bytes"
for mode in $modes; do
  seconds=$(median "$work/$mode.times")
  bytes=$(find "$work/$mode/walk" -type f -printf '%s\n' | awk '{ n += $1 } END { print n }')
  printf '%-8s %10.3f %10.1f %12s\n' "$mode" "$seconds" "$(awk -v f="$frames" -v s="$seconds" 'BEGIN { print f / s }')" "$bytes"
done
