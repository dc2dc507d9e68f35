#!/usr/bin/env bash
# Builds the release tree and runs the benchmark suite: every plug-in through
# its effect record beside the plain copy of the same buffers (BM_Copy), with
# each median time also given as a ratio to the copy's median at the same
# block size, measured in the same run.
#   scripts/bench.sh                 everything
#   scripts/bench.sh 'Lindle|Copy'   only benchmarks matching a regular expression
#   STELLORIA_PEER=/usr/lib/vst/ZamDelay-vst.so scripts/bench.sh   with a peer beside ours
# STELLORIA_BUILD_DIR (default build) names the build tree; REPETITIONS (5).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${STELLORIA_BUILD_DIR:-build}
filter=${1:-.}

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" --target stelloria_bench >/dev/null

results=$(mktemp)
trap 'rm -f "$results"' EXIT
"$build/bench/stelloria_bench" --benchmark_filter="$filter|BM_Copy" \
  --benchmark_repetitions="${REPETITIONS:-5}" --benchmark_report_aggregates_only=true \
  --benchmark_out="$results" --benchmark_out_format=csv >/dev/null

# CSV rows: "name",iterations,real_time,cpu_time,time_unit,...; the median rows
# only. The last number of a name is its block size.
awk -F, '
  /_median"/ {
    name = $1; gsub(/"/, "", name); sub(/_median$/, "", name)
    unit = $5; scale = unit == "ms" ? 1e6 : unit == "us" ? 1e3 : 1
    time[name] = $4 * scale; order[++count] = name
    if (name ~ /^BM_Copy\//) { split(name, part, "/"); copy[part[2]] = time[name] }
  }
  END {
    printf "%-52s %12s %10s %10s\n", "benchmark (median of repetitions)", "ns/block", "ns/frame", "x copy"
    for (i = 1; i <= count; ++i) {
      name = order[i]; n = split(name, part, "/"); frames = part[n]
      ratio = (frames in copy) && copy[frames] > 0 ? sprintf("%10.2f", time[name] / copy[frames]) : sprintf("%10s", "-")
      # Ten seconds at 44100 Hz in blocks of the last number: no block ratio.
      if (name ~ /TenSeconds/) { frames = 441000; ratio = sprintf("%10s", "-") }
      perFrame = frames + 0 > 0 ? sprintf("%10.3f", time[name] / frames) : sprintf("%10s", "-")
      printf "%-52s %12.1f %s %s\n", name, time[name], perFrame, ratio
    }
  }' "$results"
