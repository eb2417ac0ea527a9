#!/usr/bin/env bash
# Runs every fuzz target of a build folder configured with PLN_FUZZ for the
# given number of seconds each, from the seed corpus the tests' builders
# write plus what earlier runs found. Fails at the first crash or sanitizer
# report; the input that caused it is left in <build>/fuzz/artifacts.
#   scripts/run-fuzz.sh <build folder> <seconds per target>
set -euo pipefail

build=${1:?build folder}
seconds=${2:?seconds per target}
fuzz="$build/fuzz"
corpus="$fuzz/corpus"
artifacts="$fuzz/artifacts"
mkdir -p "$corpus" "$artifacts"
"$fuzz/pln-fuzz-seeds" "$corpus"

export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
for target in "$fuzz"/bin/pln_fuzz_*; do
  name=${target##*/pln_fuzz_}
  mkdir -p "$corpus/$name"
  echo "== $name: $seconds s"
  "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=65536 \
    -print_final_stats=1 -artifact_prefix="$artifacts/$name-" "$corpus/$name" \
    >"$fuzz/$name.log" 2>&1 || { tail -n 60 "$fuzz/$name.log"; exit 1; }
  grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$fuzz/$name.log" | tr '\n' ' '
  echo
done
