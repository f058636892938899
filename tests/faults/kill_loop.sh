#!/bin/sh
# Runs orvconv-cli to be killed at random moments, and two runs into one output folder at
# once, and prints what it saw as counts. Too long for the test suite; run it by hand
# after a change to the output layer:
#   tests/faults/kill_loop.sh BUILD [ROUNDS] [RACES]
# Each round converts a 200-picture archive with -j 1 or 2 and one --animation choice,
# over an old tree of files holding "old" or into a fresh folder, and sends SIGKILL,
# SIGTERM, SIGINT or SIGHUP after a random delay. Afterwards every file of the tree must
# be either the old one or byte for byte what a whole run writes (never cut short), no
# temporary file may be visible once the next run has cleaned up, and a stopped run must
# end with 128 + its signal or, when it had finished, 0. Each race starts a run on an
# archive of 4,000 entries and, while it works, runs on another archive of the same name
# into the same folder, again and again; every run must end with 0.
set -eu

build=${1:?usage: kill_loop.sh BUILD [ROUNDS] [RACES]}
rounds=${2:-200}
races=${3:-10}
cli=$build/bin/orvconv-cli
for program in "$cli" "$build/bin/orvpack" "$build/bench/make_corpus"; do
  [ -x "$program" ] || { echo "kill_loop.sh: $program is missing" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/kill-loop-XXXXXX")
trap 'rm -rf "$work"' EXIT
"$build/bench/make_corpus" --one-archive "$work/in"
input=$work/in/one.dat

# What a whole run writes, for each --animation choice.
for animation in frames webp gif sheet; do
  "$cli" -q -j 2 --animation $animation -o "$work/reference-$animation" "$input"
done

failures=0
fail() {
  echo "round $round ($signal, -j $jobs, $animation, old tree: $old): $*" >&2
  failures=$((failures + 1))
}

# Every file in the folder is the old one or the reference one; counts the finished files.
check_tree() {
  finished=0
  for file in "$1"/* "$1"/.[!.]*; do
    [ -e "$file" ] || continue
    name=$(basename "$file")
    case $name in
      .orvconv-*.tmp) continue ;;  # a named temporary of a killed run; the next run removes it
    esac
    if cmp -s "$file" "$2/$name"; then
      finished=$((finished + 1))
    elif [ "$(cat "$file")" != old ]; then
      fail "$name is neither the old file nor the whole new one"
    fi
  done
}

signals="KILL TERM INT HUP"
killed=0 stopped=0 ended=0 partial=0 whole=0
round=1
while [ "$round" -le "$rounds" ]; do
  random=$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')
  signal=$(echo $signals | cut -d' ' -f$((random % 4 + 1)))
  jobs=$((random / 4 % 2 + 1))
  animation=$(echo frames webp gif sheet | cut -d' ' -f$((random / 8 % 4 + 1)))
  old=$((random / 32 % 2))
  delay=$(awk -v r="$random" 'BEGIN { srand(r); printf "%.3f", rand() * 0.6 }')
  out=$work/out
  rm -rf "$out"
  mkdir -p "$out/one"
  reference=$work/reference-$animation/one
  if [ "$old" = 1 ]; then
    for file in "$reference"/*; do echo old > "$out/one/$(basename "$file")"; done
  fi

  "$cli" -q -j $jobs --animation $animation -o "$out" "$input" >/dev/null 2>"$work/err" &
  pid=$!
  sleep "$delay"
  kill -s "$signal" $pid 2>/dev/null || true
  status=0
  wait $pid || status=$?
  case $signal in
    KILL) expected=137 ;;
    TERM) expected=143 ;;
    INT) expected=130 ;;
    HUP) expected=129 ;;
  esac
  if [ "$status" = 0 ]; then
    ended=$((ended + 1))
  elif [ "$status" = "$expected" ]; then
    if [ "$signal" = KILL ]; then killed=$((killed + 1)); else stopped=$((stopped + 1)); fi
  else
    fail "exit status $status: $(cat "$work/err")"
  fi
  check_tree "$out/one" "$reference"
  if [ "$finished" = "$(ls "$reference" | wc -l)" ]; then whole=$((whole + 1)); else partial=$((partial + 1)); fi

  # The next run cleans up what a killed run left and writes everything.
  "$cli" -q -j $jobs --animation $animation -o "$out" "$input" || fail "the next run failed"
  if ls -a "$out/one" | grep -q '^\.orvconv-'; then fail "a temporary file is left after the next run"; fi
  diff -r "$out/one" "$reference" >/dev/null || fail "the next run's tree differs from a whole run's"
  round=$((round + 1))
done

# The race: a long run and short runs of an archive of the same name into one folder.
mkdir -p "$work/many" "$work/other/x"
n=0
while [ $n -lt 4000 ]; do
  echo "entry $n" > "$work/many/e$n.txt"
  n=$((n + 1))
done
"$build/bin/orvpack" -q -o "$work/in/x.dat" "$work/many"
echo "the other archive" > "$work/many-other.txt"
mkdir -p "$work/small" && cp "$work/many-other.txt" "$work/small/note.txt"
"$build/bin/orvpack" -q -o "$work/other/x/x.dat" "$work/small"
race_runs=0 race_failures=0
race=1
while [ "$race" -le "$races" ]; do
  rm -rf "$work/race"
  "$cli" -q -j 1 -o "$work/race" "$work/in/x.dat" 2>"$work/race-err" &
  long=$!
  while kill -0 $long 2>/dev/null; do
    if ! "$cli" -q -o "$work/race" "$work/other/x/x.dat" 2>>"$work/race-err"; then
      race_failures=$((race_failures + 1))
    fi
    race_runs=$((race_runs + 1))
  done
  status=0
  wait $long || status=$?
  if [ $status != 0 ]; then
    echo "race $race: the long run ended with $status: $(cat "$work/race-err")" >&2
    race_failures=$((race_failures + 1))
  fi
  race=$((race + 1))
done

echo "killed-run rounds: $rounds (SIGKILL ended $killed, a stop signal ended $stopped, finished before the signal $ended)"
echo "  trees left whole: $whole, partly old: $partial; faults: $failures"
echo "two-runs races: $races long runs of 4,000 entries against $race_runs short runs; failed runs: $race_failures"
[ "$failures" = 0 ] && [ "$race_failures" = 0 ]
