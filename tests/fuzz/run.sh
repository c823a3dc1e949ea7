#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UndefinedBehaviorSanitizer on) and
# runs each for SECONDS seconds. Exits non-zero as soon as a target finds a crash or a failed
# check; the input that did it is left in the build folder as <target>-crash-*.
#   tests/fuzz/run.sh SECONDS
# FUZZ_BUILD picks the build folder (default build-fuzz at the top of the repository), FUZZ_CXX
# the compiler (default clang++). The seeds in tests/fuzz/corpus/<target>/ are only read; what
# the fuzzer learns goes to <build>/corpus/<target>/ and is reused by the next run.
set -euo pipefail

if [ $# -ne 1 ] || ! [[ $1 =~ ^[0-9]+$ ]] || [ "$1" -eq 0 ]; then
  echo "usage: $0 SECONDS" >&2
  exit 2
fi
seconds=$1
here=$(cd "$(dirname "$0")" && pwd)
build=${FUZZ_BUILD:-$here/../../build-fuzz}

cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER="${FUZZ_CXX:-clang++}" >/dev/null
cmake --build "$build" -j "$(nproc)"

export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

summary=()
for target in fuzz_val fuzz_format; do
  mkdir -p "$build/corpus/$target" "$build/logs"
  log=$build/logs/$target.log
  echo "== $target: ${seconds}s"
  status=0
  "$build/$target" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$build/$target-" \
    "$build/corpus/$target" "$here/corpus/$target" >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  if [ "$status" -ne 0 ]; then
    tail -n 40 "$log" >&2
    echo "$target FAILED (exit $status) after ${runs:-?} executions; full log: $log" >&2
    exit 1
  fi
  summary+=("$target: ${runs:-?} executions in ${seconds}s, no findings")
done
printf '%s\n' "${summary[@]}"
