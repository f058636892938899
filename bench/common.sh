# What the end-to-end benchmark scripts share; sourced, never run.
#   bench_build            BUILD: as given, else `make build` and build/
#   bench_require PROG...  ends the script when one of the programs is missing
#   bench_work NAME        $work: $WORK/NAME made anew, else a new folder under $TMPDIR
#                          or /tmp; removed when the script ends
#   median FILE            median, minimum and maximum of the numbers in FILE, one a line
#   bench_read_ratio NAME SHORT COMMAND...
#                          decoding every picture of the one-archive corpus: the reading
#                          API in C++ (read_pictures) against COMMAND ARCHIVE ROUNDS, which
#                          prints a line of seconds and decoded bytes a round; PASSES passes
#                          (default 7) of ROUNDS counted rounds a process (default 5), the
#                          first round of each not counted; prints medians, minima and
#                          maxima, and of the ratio pass by pass (NAME and SHORT label it)

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

bench_read_ratio() {
  name=$1 short=$2
  shift 2
  passes=${PASSES:-7}
  rounds=${ROUNDS:-5}
  "$BUILD/bench/make_corpus" --one-archive "$work/one"
  archive=$work/one/one.dat
  for pass in $(seq "$passes"); do
    "$BUILD/bench/read_pictures" "$archive" $((rounds + 1)) >"$work/run"
    bench_counted "$work/run" >>"$work/cpp.s"
    "$@" "$archive" $((rounds + 1)) >"$work/run"
    bench_counted "$work/run" >>"$work/other.s"
  done
  [ "$(cut -d' ' -f2 "$work/all" | sort -u | wc -l)" -eq 1 ] ||
    { echo "$(basename "$0"): the two decoded different amounts of pixels" >&2; exit 1; }
  paste "$work/other.s" "$work/cpp.s" | awk '{ print $1 / $2 }' >"$work/ratio"
  echo "passes: $passes of $rounds rounds; seconds as median, min, max"
  printf '%-20s %s\n' "C++ reading API:" "$(median "$work/cpp.s")" "$name:" "$(median "$work/other.s")" \
    "ratio $short / C++:" "$(median "$work/ratio")"
}

# The median of a process's counted rounds, its first round left out.
bench_counted() {
  tail -n +2 "$1" | tee -a "$work/all" | cut -d' ' -f1 >"$1.s"
  median "$1.s" | cut -d' ' -f1
}
