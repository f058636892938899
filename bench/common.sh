# What the end-to-end benchmark scripts share; sourced, never run.
#   bench_build            BUILD: as given, else `make build` and build/
#   bench_require PROG...  ends the script when one of the programs is missing
#   bench_work NAME        $work: $WORK/NAME made anew, else a new folder under $TMPDIR
#                          or /tmp; removed when the script ends
#   median FILE            median, minimum and maximum of the numbers in FILE, one a line

root=$(cd "$(dirname "$0")/.." && pwd)

bench_build() {
  if [ -z "${BUILD:-}" ]; then
    make -C "$root" build >&2
    BUILD=$root/build
  fi
}

bench_require() {
  for program in "$@"; do
    [ -x "$program" ] || { echo "$(basename "$0"): $program is missing" >&2; exit 1; }
  done
}

bench_work() {
  if [ -n "${WORK:-}" ]; then
    work=$WORK/$1
    rm -rf "$work"
    mkdir -p "$work"
  else
    work=$(mktemp -d "${TMPDIR:-/tmp}/$1-XXXXXX")
  fi
  trap 'rm -rf "$work"' EXIT
  trap 'exit 130' INT TERM
}

median() {
  sort -g "$1" | awk '{ v[NR] = $1 } END {
    m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "%.4f %.4f %.4f\n", m, v[1], v[NR] }'
}
