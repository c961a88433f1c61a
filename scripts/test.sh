#!/usr/bin/env bash
# Installs the dependencies, checks the layout of the sources with clang-format, then builds and
# tests the project in four stages, each a workflow
# preset of CMakePresets.json with a build folder of its own under build/:
#   default  the whole suite, then clang-tidy (.clang-tidy) over every source file of that build
#   asan     the whole suite under AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer
#   tsan     the tests labelled concurrency under ThreadSanitizer
#   fuzz     every fuzz target: its seed corpus replayed, then a short fuzzing run
# A failing test or a sanitizer report stops the run with a non-zero status. Each stage ends with
# a line naming what ran and ctest's summary; the last lines sum the stages up.
# The memcheck run of the end-to-end tests is slower and runs on request:
#   cmake --workflow --preset valgrind
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

summaries=()
passed=0
failed=0

# run_stage <workflow preset> <what it runs>
run_stage() {
  local preset=$1 what=$2
  local log started summary total failures
  log=$(mktemp)
  started=$SECONDS
  echo "=== stage ${preset}: ${what}"
  if ! cmake --workflow --preset "${preset}" 2>&1 | tee "${log}"; then
    summary=$(grep -E '^[0-9]+% tests passed' "${log}" | tail -n 1 || true)
    echo "=== stage ${preset} FAILED after $((SECONDS - started)) s: ${summary:-no test summary}"
    rm -f "${log}"
    exit 1
  fi
  summary=$(grep -E '^[0-9]+% tests passed' "${log}" | tail -n 1)
  rm -f "${log}"
  total=${summary##* out of }
  failures=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"${summary}")
  last_total=${total}
  passed=$((passed + total - failures))
  failed=$((failed + failures))
  summaries+=("stage ${preset} (${what}) in $((SECONDS - started)) s: ${summary}")
  echo "=== ${summaries[-1]}"
}

# Every source file as .clang-format lays it out; the public C headers keep their own layout.
echo "=== stage format: clang-format over the tree"
if ! git ls-files '*.c' '*.cpp' '*.h' | xargs clang-format --dry-run --Werror; then
  echo "=== stage format FAILED: run clang-format -i on the files named above"
  exit 1
fi
summaries+=("stage format: every source file as .clang-format lays it out")

run_stage default "whole suite"

# clang-tidy reads the default build's compile database; any finding fails the run.
echo "=== stage tidy: clang-tidy over the default build's sources"
started=$SECONDS
tidy_log=$(mktemp)
if ! run-clang-tidy -p build/default -quiet -j "$(nproc)" >"${tidy_log}" 2>&1; then
  grep -E '(error|warning): ' "${tidy_log}" | sort -u
  rm -f "${tidy_log}"
  echo "=== stage tidy FAILED: fix the findings above"
  exit 1
fi
rm -f "${tidy_log}"
summaries+=("stage tidy in $((SECONDS - started)) s: no clang-tidy finding")

run_stage asan "whole suite, AddressSanitizer + UBSan + LeakSanitizer"
run_stage tsan "tests labelled concurrency, ThreadSanitizer"
# The tsan preset builds only the executables that hold concurrency tests; one it misses would
# drop its tests from the stage silently.
expected=$(ctest --preset default -N -L concurrency | sed -n 's/^Total Tests: //p')
if [ "${last_total}" != "${expected}" ]; then
  echo "=== stage tsan ran ${last_total} of the ${expected} concurrency tests: add the missing executable to the tsan build preset"
  exit 1
fi
run_stage fuzz "each fuzz target: its corpus replayed, then fuzzed for 20 s"

printf '%s\n' "${summaries[@]}"
echo "total: ${passed} passed, ${failed} failed"
