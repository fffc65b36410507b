#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for SECONDS each, one after the other, on a scratch copy
# of its seed corpus; fails when any target finds a fault. The repository is never written to.
# Usage: [TRM_FUZZ_BUILD=build/fuzz] scripts/fuzz.sh [SECONDS]
# The build: CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=Debug -DTRM_FUZZ=ON
set -u
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=${TRM_FUZZ_BUILD:-build/fuzz}
run="$build/corpus-run"
crashes="$build/crashes"

targets=()
for exe in "$build"/fuzz_*; do
  [ -f "$exe" ] && [ -x "$exe" ] && targets+=("$exe")
done
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz: no fuzz targets in $build (configure it with -DTRM_FUZZ=ON and build it first)" >&2
  exit 1
fi

mkdir -p "$run" "$crashes"
export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"
fail=0
for exe in "${targets[@]}"; do
  name=$(basename "$exe")
  corpus="$run/$name"
  rm -rf "$corpus"
  mkdir -p "$corpus"
  [ -d "tests/fuzz/corpus/$name" ] && cp -R "tests/fuzz/corpus/$name/." "$corpus/"
  log="$run/$name.log"
  # Inputs up to 64 KiB reach overlong lines and many entries; crash inputs go to build/.../crashes.
  if "$exe" -max_total_time="$seconds" -max_len=65536 -timeout=20 -rss_limit_mb=2048 \
       -artifact_prefix="$crashes/$name-" -print_final_stats=1 "$corpus" >"$log" 2>&1; then
    echo "fuzz: $name ok ($(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$') runs)"
  else
    echo "fuzz: $name FAILED, log $log; the input is kept in $crashes:"
    grep -E 'rule broken|  at:|ERROR|SUMMARY|artifact' "$log" | head -20
    fail=1
  fi
done
exit $fail
