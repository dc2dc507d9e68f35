#!/usr/bin/env bash
# Runs the fuzz targets (fuzz/), one after the other, each for a bounded time.
#
#   scripts/fuzz.sh [seconds-per-target] [plugin...]
#
# CI: scripts/fuzz.sh 25          (the four targets, 25 s each)
# Long run: nice scripts/fuzz.sh 900 Ombrel Quorra Tessik Lindle
#
# Builds build-fuzz/ with clang, AddressSanitizer, UndefinedBehaviorSanitizer
# and coverage. The seed corpus in fuzz/corpus/<plugin>/ is copied to a work
# folder (FUZZ_WORK, default a fresh temporary folder), so the repository's
# seeds stay as they are; what the run learns stays in the work folder, and a
# crash leaves its input there as crash-*. Exits non-zero on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-25}
shift || true
plugins=("$@")
[ ${#plugins[@]} -eq 0 ] && plugins=(Lindle Ombrel Quorra Tessik)

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Release -DSTELLORIA_FUZZ=ON \
      -DSTELLORIA_TESTS=OFF -DSTELLORIA_BENCHMARKS=OFF >/dev/null
cmake --build build-fuzz -j "${JOBS:-2}" >/dev/null

work=${FUZZ_WORK:-$(mktemp -d)}
status=0
for plugin in "${plugins[@]}"; do
  target=build-fuzz/fuzz/fuzz_$plugin
  [ -x "$target" ] || { echo "fuzz: no target for $plugin" >&2; status=1; continue; }
  mkdir -p "$work/$plugin/corpus" "$work/$plugin/findings"
  cp -n fuzz/corpus/"$plugin"/* "$work/$plugin/corpus/"
  echo "fuzz: $plugin for ${seconds}s in $work/$plugin" >&2
  if ! ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
       "$target" -max_total_time="$seconds" -max_len=4096 -timeout=20 -rss_limit_mb=2048 \
       -artifact_prefix="$work/$plugin/findings/" -print_final_stats=1 \
       "$work/$plugin/corpus" 2>"$work/$plugin/log"; then
    echo "fuzz: $plugin FAILED, see $work/$plugin/log and $work/$plugin/findings/" >&2
    status=1
  fi
  grep -E '^stat::number_of_executed_units|^Done' "$work/$plugin/log" >&2 || true
done
exit $status
