#!/bin/bash
# Runs the engine benchmarks (wall-clock medians and repeatable instruction counts) and
# the editor's paint times on the raster. The open editor's CPU under Wine is measured by
# bench/editor_cpu.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/build.sh native >/dev/null
build/native/bench/reverb_bench --benchmark_min_time=0.2 2>/dev/null | grep -E '_median|Benchmark'
build/native/bench/meter_paint_bench 2>/dev/null | grep -E '_median'
for mode in default eq; do
  out=$(valgrind --tool=callgrind --callgrind-out-file=/dev/null --toggle-collect=MeasuredBlocks \
        build/native/bench/reverb_count "$mode" 2>&1)
  frames=$(echo "$out" | sed -n 's/^frames \([0-9]*\)/\1/p')
  total=$(echo "$out" | sed -n 's/.*Collected : \([0-9]*\).*/\1/p')
  echo "callgrind $mode: $((total / frames)) instructions per stereo frame"
done
