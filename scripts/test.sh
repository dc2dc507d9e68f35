#!/usr/bin/env bash
# Builds and runs every test: once in a plain release build (build/), once
# with AddressSanitizer and UndefinedBehaviorSanitizer (build-sanitize/), then
# a bounded fuzz run of every plug-in (build-fuzz/).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build -j "$jobs" --output-on-failure

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DSTELLORIA_SANITIZE=ON \
      -DSTELLORIA_BENCHMARKS=OFF >/dev/null
cmake --build build-sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitize -j "$jobs" --output-on-failure

# A bounded fuzz run (clang, ASan, UBSan, coverage): 25 s for each plug-in,
# on a copy of the seed corpus. Long runs: see scripts/fuzz.sh.
FUZZ_WORK=$(mktemp -d) JOBS="$jobs" scripts/fuzz.sh 25
