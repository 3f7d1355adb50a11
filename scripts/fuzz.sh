#!/usr/bin/env bash
# scripts/fuzz.sh [--seed N] [SECONDS [TARGET...]]
# Builds the libFuzzer targets of fuzz/ with clang (in build-fuzz/) and runs
# each of them, or the ones named, for SECONDS (default 20), starting from
# its seed corpus in fuzz/corpus/<target>/. New inputs go to a temporary
# corpus, so the seeds in the repository stay as they are. Prints each run's
# final statistics (the number of executions among them); on a failure prints
# the input that caused it and exits non-zero after all targets have run.
# With --seed the inputs tried are the same on every run (the test suite uses
# this, so that it never fails on an input nobody has seen before; runs
# without it explore anew each time).
set -euo pipefail
cd "$(dirname "$0")/.."
seed=()
if [ "${1:-}" = "--seed" ]; then
  seed=(-seed="$2")
  shift 2
fi
seconds=${1:-20}
shift || true
dir=build-fuzz
targets=(statement_reader_fuzz result_formatter_fuzz file_profile_store_fuzz)
[ $# -eq 0 ] || targets=("$@")

# tmpfs where there is one: the settings target writes a file per input.
work=$(mktemp -d -p "$([ -w /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")" tarnwell-fuzz.XXXXXX)
trap 'rm -rf "$work"' EXIT

scripts/install-deps.sh
echo "== building in $dir"
if ! { CC=clang CXX=clang++ cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
         -DTARNWELL_FUZZ=ON -DTARNWELL_TESTS=OFF &&
       cmake --build "$dir" -j"$(nproc)" --target "${targets[@]}"; } >"$work/build.log" 2>&1; then
  cat "$work/build.log"
  exit 1
fi

failed=0
for target in "${targets[@]}"; do
  mkdir -p "$work/$target/corpus" "$work/$target/crash"
  log="$work/$target/log"
  echo "== $target ($seconds s)"
  status=0
  TMPDIR="$work/$target" "$dir/fuzz/$target" "${seed[@]}" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$work/$target/crash/" "$work/$target/corpus" "fuzz/corpus/$target" >"$log" 2>&1 || status=$?
  if [ "$status" -eq 0 ]; then
    grep -E '^(Done [0-9]+ runs|stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb))' "$log"
  else
    failed=1
    tail -n 60 "$log"
    for input in "$work/$target/crash/"*; do
      [ -f "$input" ] || continue
      echo "-- crash input $(basename "$input") ($(stat -c %s "$input") bytes):"
      od -A d -t x1z -v "$input"
    done
  fi
done
exit "$failed"
